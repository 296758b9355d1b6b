// The saver's file test (/S FILE) with real display files: the display plays
// as "Testing Current Settings" and the saver's end puts everything back.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/fake_window.h"
#include "engine/saver_window.h"
#include "settings/display_file.h"
#include "settings/display_fixture.h"
#include "platform/system/folders.h"
#include "sound/sound_feed.h"
#include "support/test_environment.h"

namespace fluxo {
namespace {

class FileTestRunTest : public test::DisplayTest {
 protected:
  void TearDown() override {
    if (SoundFeed()) CloseSoundFeed(SoundFeed());
    test::DisplayTest::TearDown();
  }
  intptr_t Send(test::FakeWindow& window, SaverMessage message) { return ScreenSaverProc(&window, message, 0, 0); }
};

TEST_F(FileTestRunTest, AFilePlaysAsTheTestDisplayAndTheEndRestoresActive) {
  EnsureStartupDisplays();
  const std::string file = test::TestHome() + "/Night Sky.FLX";
  ASSERT_EQ(ExportDisplay(DisplayKeyPath("[D] Star").c_str(), file.c_str()), 1);
  WriteActiveDisplay("[D] Plasma");

  test::FakeWindow window;
  window.commandLine = {"fluxo", "/S", file};
  ASSERT_EQ(Send(window, SaverMessage::Create), 0);
  EXPECT_EQ(ActiveDisplayName(), kTestingDisplay);
  EXPECT_TRUE(DisplayHasModule(kTestingDisplay, "Star"));
  ASSERT_EQ(LoadDisplay(kTestingDisplay), 1);
  EXPECT_TRUE(IsActive(kModuleStar));

  Send(window, SaverMessage::Destroy);
  EXPECT_EQ(ActiveDisplayName(), "[D] Plasma");
  EXPECT_FALSE(DisplayExists(kTestingDisplay));
}

TEST_F(FileTestRunTest, AFileThatIsNotADisplayLeavesEverythingAlone) {
  EnsureStartupDisplays();
  const std::string file = test::TestHome() + "/notes.FLX";
  std::ofstream(file) << "not a display";
  WriteActiveDisplay("[D] Plasma");
  test::FakeWindow window;
  window.commandLine = {"fluxo", "/S", file};
  ASSERT_EQ(Send(window, SaverMessage::Create), 0);
  EXPECT_EQ(ActiveDisplayName(), "[D] Plasma");
  EXPECT_FALSE(DisplayExists(kTestingDisplay));
  Send(window, SaverMessage::Destroy);
  EXPECT_EQ(ActiveDisplayName(), "[D] Plasma");
}

TEST_F(FileTestRunTest, ACreationThatCannotAttachTheFeedPutsActiveBack) {
  EnsureStartupDisplays();
  const std::string file = test::TestHome() + "/Night Sky.FLX";
  ASSERT_EQ(ExportDisplay(DisplayKeyPath("[D] Star").c_str(), file.c_str()), 1);
  // A long value, as a user may have typed it, must come back whole.
  const std::string active(400, 'a');
  WriteActiveDisplay(active);
  const std::string name = SharedMemoryName();
  setenv("FLUXO_SHM_NAME", "", 1);  // the feed cannot attach

  test::FakeWindow window;
  window.commandLine = {"fluxo", "/S", file};
  EXPECT_EQ(Send(window, SaverMessage::Create), -1);
  setenv("FLUXO_SHM_NAME", name.c_str(), 1);
  EXPECT_EQ(ActiveDisplayName(), active);
  EXPECT_FALSE(DisplayExists(kTestingDisplay));
}

TEST_F(FileTestRunTest, TheEndPutsBackALongActiveWhole) {
  EnsureStartupDisplays();
  const std::string file = test::TestHome() + "/Night Sky.FLX";
  ASSERT_EQ(ExportDisplay(DisplayKeyPath("[D] Star").c_str(), file.c_str()), 1);
  const std::string active(300, 'b');
  WriteActiveDisplay(active);
  test::FakeWindow window;
  window.commandLine = {"fluxo", "/S", file};
  ASSERT_EQ(Send(window, SaverMessage::Create), 0);
  Send(window, SaverMessage::Destroy);
  EXPECT_EQ(ActiveDisplayName(), active);
}

}  // namespace
}  // namespace fluxo
