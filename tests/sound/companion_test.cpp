#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/registry/registry.h"
#include "settings/settings_store.h"
#include "sound/feed_fixture.h"
#include "support/test_environment.h"

namespace fluxo {
namespace {

namespace fs = std::filesystem;

void SetCompanionVersion(uint32_t major, uint32_t minor) {
  WriteDword(reg::Hive::CurrentUser, "Software\\Tonewell", "Current Version", reg::kRegDword, (major << 16) + minor);
}

class CompanionStatus : public test::FeedTest {
 protected:
  void TearDown() override {
    reg::Key software;
    if (reg::OpenKey(reg::Hive::CurrentUser, "Software", software) == reg::kSuccess) reg::DeleteKey(software, "Tonewell");
    test::FeedTest::TearDown();
  }
};

TEST_F(CompanionStatus, NotInstalledLeavesAnEmptyKey) {
  EXPECT_EQ(ReadCompanionVersion(), 0u);
  reg::Key key;
  EXPECT_EQ(reg::OpenKey(reg::Hive::CurrentUser, "Software\\Tonewell", key), reg::kSuccess);
  EXPECT_EQ(SoundStatusText(), "Tonewell has not been installed -- sound synchronization is unavaliable!");
}

TEST_F(CompanionStatus, MatchingVersionDependsOnTheCompanionRunning) {
  SetCompanionVersion(3, 3);
  EXPECT_EQ(ReadCompanionVersion(), 0x30003u);
  EXPECT_EQ(SoundStatusText(), "Tonewell must be running in order for sound synchronization to function.");
  feed_->SetU32(feed::kCompanionActive, 1);
  EXPECT_EQ(SoundStatusText(),
            "The present versions of The Fluxonic Screen Saver and Tonewell will function together to provide sound "
            "synchronization.");
}

TEST_F(CompanionStatus, OtherVersionIsNamedAsIncompatible) {
  SetCompanionVersion(3, 4);
  feed_->SetU32(feed::kCompanionActive, 1);
  EXPECT_EQ(SoundStatusText(),
            "You are running version 3.4 of Tonewell.  This version is not fully compatible with version 3.9 of The "
            "Fluxonic Screen Saver.  Please download the latest versions of both packages.");
  SetCompanionVersion(4, 3);
  EXPECT_NE(SoundStatusText().find("version 4.3 of Tonewell"), std::string::npos);
}

// A stand-in companion: a script that writes its arguments into a file.
class CompanionLaunch : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::path(test::TestHome()) / "Tone well";
    fs::create_directories(folder_);
    script_ = folder_ / "tonewell.sh";
    marker_ = folder_ / "launched";
    fs::remove(marker_);
    std::ofstream(script_) << "#!/bin/sh\necho \"$#:$*\" > \"" << marker_.string() << ".tmp\"\nmv \""
                           << marker_.string() << ".tmp\" \"" << marker_.string() << "\"\n";
    fs::permissions(script_, fs::perms::owner_all);
  }
  void TearDown() override {
    reg::Key software;
    if (reg::OpenKey(reg::Hive::LocalMachine, "Software", software) == reg::kSuccess) reg::DeleteKey(software, "Tonewell");
    fs::remove_all(folder_);
  }

  void RegisterCommand(const std::string& command) {
    ASSERT_TRUE(WriteMachineString(reg::Hive::LocalMachine, "Software\\Tonewell", "", command.c_str()));
  }
  std::string QuotedScript() const { return "\"" + script_.string() + "\""; }

  // The arguments the companion saw; waits generously for the child to run.
  std::string WaitForLaunch() const {
    for (int i = 0; i < 3000 && !fs::exists(marker_); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(marker_);
    std::string line;
    std::getline(in, line);
    return line;
  }

  fs::path folder_, script_, marker_;
};

TEST_F(CompanionLaunch, MissingCommandDoesNothing) {
  EXPECT_FALSE(LaunchCompanion(1080, 1080, true));
  EXPECT_FALSE(LaunchCompanion(0, 0, false));
}

TEST_F(CompanionLaunch, PreviewSizedSaverDoesNotStartIt) {
  RegisterCommand(QuotedScript());
  EXPECT_FALSE(LaunchCompanion(120, 1080, true));
  EXPECT_FALSE(fs::exists(marker_));
}

TEST_F(CompanionLaunch, FullScreenSaverStartsItWithPlay) {
  RegisterCommand(QuotedScript() + " -quiet");
  ASSERT_TRUE(LaunchCompanion(1080, 1080, true));
  EXPECT_EQ(WaitForLaunch(), "2:-quiet /PPLAY");
}

TEST_F(CompanionLaunch, SoundPageStartsTheCommandAsRead) {
  RegisterCommand(QuotedScript());
  ASSERT_TRUE(LaunchCompanion(120, 1080, false));
  EXPECT_EQ(WaitForLaunch(), "0:");
}

TEST_F(CompanionLaunch, CommandThatCannotRunReportsFailure) {
  RegisterCommand("\"" + (folder_ / "missing").string() + "\"");
  EXPECT_FALSE(LaunchCompanion(1080, 1080, true));
}

}  // namespace
}  // namespace fluxo
