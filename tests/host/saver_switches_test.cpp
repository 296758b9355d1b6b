#include "host/saver_switches.h"

#include <gtest/gtest.h>

namespace fluxo {
namespace {

struct Outcome {
  SaverSwitches switches;
  std::string problem;
};

Outcome Parse(std::vector<std::string> args, const char* env = nullptr) {
  Outcome outcome;
  outcome.problem = "not cleared";
  outcome.switches = ParseSaverSwitches(args, env, outcome.problem);
  return outcome;
}

TEST(SaverSwitches, NoSwitchIsANormalWindow) {
  Outcome o = Parse({});
  EXPECT_EQ(o.problem, "");
  EXPECT_EQ(o.switches.mode, SaverMode::Window);
  EXPECT_EQ(Parse({}, "").switches.mode, SaverMode::Window);  // an empty variable counts as unset
}

TEST(SaverSwitches, FullScreenAndPlayFileAreToldApartByCase) {
  Outcome s = Parse({"/s"});
  EXPECT_EQ(s.problem, "");
  EXPECT_EQ(s.switches.mode, SaverMode::FullScreen);

  Outcome play = Parse({"/S", "/home/me/My Display.FLX"});
  EXPECT_EQ(play.problem, "");
  EXPECT_EQ(play.switches.mode, SaverMode::PlayFile);
  EXPECT_EQ(play.switches.file, "/home/me/My Display.FLX");
}

TEST(SaverSwitches, PreviewTakesTheParentWindowInEitherForm) {
  for (const auto& args : std::vector<std::vector<std::string>>{
           {"/p", "4711"}, {"/p:4711"}, {"/P", "4711"}, {"/p", "0x1267"}, {"/p:0X1267"}}) {
    Outcome o = Parse(args);
    EXPECT_EQ(o.problem, "") << args[0];
    EXPECT_EQ(o.switches.mode, SaverMode::Embedded) << args[0];
    EXPECT_EQ(o.switches.windowId, 4711u) << args[0];
  }
}

TEST(SaverSwitches, ConfigurationWithAndWithoutOwner) {
  Outcome plain = Parse({"/c"});
  EXPECT_EQ(plain.switches.mode, SaverMode::Configure);
  EXPECT_EQ(plain.switches.windowId, 0u);
  Outcome owned = Parse({"/c:123"});
  EXPECT_EQ(owned.problem, "");
  EXPECT_EQ(owned.switches.mode, SaverMode::Configure);
  EXPECT_EQ(owned.switches.windowId, 123u);
}

TEST(SaverSwitches, XScreenSaverConventions) {
  Outcome root = Parse({"-root"});
  EXPECT_EQ(root.problem, "");
  EXPECT_EQ(root.switches.mode, SaverMode::FullScreen);

  Outcome id = Parse({"-window-id", "0x2a00007"});
  EXPECT_EQ(id.problem, "");
  EXPECT_EQ(id.switches.mode, SaverMode::Embedded);
  EXPECT_EQ(id.switches.windowId, 0x2a00007u);

  Outcome env = Parse({}, "0x400001");
  EXPECT_EQ(env.problem, "");
  EXPECT_EQ(env.switches.mode, SaverMode::Embedded);
  EXPECT_EQ(env.switches.windowId, 0x400001u);

  // xscreensaver runs hacks as "hack -root" with its window in the environment.
  Outcome rootWithEnv = Parse({"-root"}, "0x400001");
  EXPECT_EQ(rootWithEnv.switches.mode, SaverMode::Embedded);
  EXPECT_EQ(rootWithEnv.switches.windowId, 0x400001u);
  EXPECT_EQ(Parse({"--root"}, "0x400001").switches.windowId, 0x400001u);

  // Any other switch wins over the environment.
  EXPECT_EQ(Parse({"/s"}, "0x400001").switches.mode, SaverMode::FullScreen);
  EXPECT_EQ(Parse({"-window-id", "99"}, "0x400001").switches.windowId, 99u);
}

TEST(SaverSwitches, RefusedSwitchesSayWhy) {
  const struct {
    std::vector<std::string> args;
    const char* env;
    const char* problem;
  } cases[] = {
      {{"/x"}, nullptr, "unknown switch '/x'"},
      {{"-S"}, nullptr, "unknown switch '-S'"},
      {{"/S"}, nullptr, "'/S' needs a display file"},
      {{"/S", ""}, nullptr, "'/S' needs a display file"},
      {{"/p"}, nullptr, "'/p' needs a window id"},
      {{"-window-id"}, nullptr, "'-window-id' needs a window id"},
      {{"/p", "abc"}, nullptr, "/p: 'abc' is not a window id"},
      {{"/p:"}, nullptr, "/p: '' is not a window id"},
      {{"/p:12x"}, nullptr, "/p: '12x' is not a window id"},
      {{"/p", "0"}, nullptr, "/p: '0' is not a window id"},
      {{"/p", "-5"}, nullptr, "/p: '-5' is not a window id"},
      {{"/c:0x"}, nullptr, "/c: '0x' is not a window id"},
      {{"-window-id", "0xZZ"}, nullptr, "-window-id: '0xZZ' is not a window id"},
      {{}, "root", "XSCREENSAVER_WINDOW: 'root' is not a window id"},
      {{"-root"}, "12 ", "XSCREENSAVER_WINDOW: '12 ' is not a window id"},
      {{"/s", "extra"}, nullptr, "unexpected argument 'extra'"},
      {{"/p", "5", "6"}, nullptr, "unexpected argument '6'"},
      {{"/S", "a.flx", "b.flx"}, nullptr, "unexpected argument 'b.flx'"},
  };
  for (const auto& c : cases) {
    Outcome o = Parse(c.args, c.env);
    EXPECT_EQ(o.problem, c.problem);
    EXPECT_EQ(o.switches.mode, SaverMode::Window) << c.problem;  // nothing half-parsed leaks out
    EXPECT_EQ(o.switches.windowId, 0u) << c.problem;
  }
}

TEST(SaverSwitches, WindowIdsInDecimalAndHex) {
  EXPECT_EQ(ParseWindowId("65011719"), 65011719u);
  EXPECT_EQ(ParseWindowId("0x3e00007"), 0x3e00007u);
  EXPECT_EQ(ParseWindowId("0XABCdef"), 0xabcdefu);
  EXPECT_EQ(ParseWindowId("18446744073709551615"), UINT64_MAX);
  EXPECT_EQ(ParseWindowId("18446744073709551616"), 0u);  // out of range
  EXPECT_EQ(ParseWindowId(""), 0u);
  EXPECT_EQ(ParseWindowId("0x"), 0u);
  EXPECT_EQ(ParseWindowId("+5"), 0u);
  EXPECT_EQ(ParseWindowId(" 5"), 0u);
}

}  // namespace
}  // namespace fluxo
