#include "tonewell/command_line.h"

#include <gtest/gtest.h>

namespace fluxo::tonewell {
namespace {

using Action = CommandLine::Action;

TEST(ParseCommandLine, ReadsOptionsAndTheSaverSwitches) {
  const CommandLine plain = ParseCommandLine({});
  EXPECT_EQ(plain.action, Action::Run);
  EXPECT_EQ(plain.options.pulse.source, kDesktopMonitor);
  EXPECT_TRUE(plain.options.followPlayer);

  const CommandLine full =
      ParseCommandLine({"--source", "alsa_input.usb", "--server", "unix:/run/x", "--meter", "--no-player"});
  EXPECT_EQ(full.action, Action::Run);
  EXPECT_EQ(full.options.pulse.source, "alsa_input.usb");
  EXPECT_EQ(full.options.pulse.server, "unix:/run/x");
  EXPECT_TRUE(full.meter);
  EXPECT_FALSE(full.options.followPlayer);

  EXPECT_EQ(ParseCommandLine({"--input", "a.wav"}).options.inputFile, "a.wav");
  EXPECT_EQ(ParseCommandLine({"/PPLAY"}).action, Action::Run);
  EXPECT_EQ(ParseCommandLine({"--install"}).action, Action::Install);
  EXPECT_EQ(ParseCommandLine({"/install"}).action, Action::Install);
  EXPECT_EQ(ParseCommandLine({"--help"}).action, Action::Help);
}

TEST(ParseCommandLine, RefusesMissingValuesAndUnknownArguments) {
  EXPECT_EQ(ParseCommandLine({"--source"}).action, Action::Invalid);
  EXPECT_EQ(ParseCommandLine({"--input", ""}).action, Action::Invalid);
  const CommandLine unknown = ParseCommandLine({"--loud"});
  EXPECT_EQ(unknown.action, Action::Invalid);
  EXPECT_NE(unknown.error.find("--loud"), std::string::npos);
}

}  // namespace
}  // namespace fluxo::tonewell
