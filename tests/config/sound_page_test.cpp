#include <sys/mman.h>

#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "config/config_page.h"
#include "config/config_session.h"
#include "config/page_factories.h"
#include "platform/system/folders.h"
#include "settings/display_fixture.h"
#include "sound/sound_feed.h"
#include "support/test_environment.h"
#include "config/widget_lookup.h"

namespace fluxo::test {
namespace {

using config::ConfigPage;
using config::ConfigSession;

constexpr char kMustRun[] = "Tonewell must be running in order for sound synchronization to function.";
constexpr char kTogether[] =
    "The present versions of The Fluxonic Screen Saver and Tonewell will function together to provide sound "
    "synchronization.";

std::string RootPath() { return std::string("Control Panel\\") + SettingsKeyName(); }

void SetCompanionVersion(uint32_t major, uint32_t minor) {
  WriteDword(reg::Hive::CurrentUser, "Software\\Tonewell", "Current Version", reg::kRegDword, (major << 16) + minor);
}

class SoundPageTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    shm_unlink(SharedMemoryName().c_str());
    feed = OpenSoundFeed();
    ASSERT_NE(feed, nullptr) << SoundFeedError();
    SetOptionDefaults();
    session.SetChildProgram("/bin/sh", {"-c", "exec sleep 30", "saver"});
    page.reset(config::CreateSoundPage(session));
    page->SetActive();
  }
  void TearDown() override {
    page.reset();
    CloseSoundFeed(feed);
    shm_unlink(SharedMemoryName().c_str());
    DisplayTest::TearDown();
  }

  template <typename T>
  T* Find(const char* id) {
    return FindWidget<T>(page.get(), QString(id));
  }
  QString Status() { return Find<QLabel>("id1110")->text(); }

  SoundFeedBlock* feed = nullptr;
  ConfigSession session;
  std::unique_ptr<ConfigPage> page;
};

TEST_F(SoundPageTest, TheFourChecksAndHomingAreStoredOnApply) {
  // Turbo mode and automatic gain start on, the other two off.
  Find<QCheckBox>("id1042")->click();
  Find<QCheckBox>("id1044")->click();
  Find<QCheckBox>("id1039")->click();
  Find<QCheckBox>("id1043")->click();
  Find<QSlider>("id1336")->setValue(250);
  page->Apply();
  EXPECT_EQ(Number(RootPath(), "SlowCPU"), 0);
  EXPECT_EQ(Number(RootPath(), "AutoGain"), 0);
  EXPECT_EQ(Number(RootPath(), "ShowInfo"), 1);
  EXPECT_EQ(Number(RootPath(), "AutoRun"), 1);
  EXPECT_EQ(Number(RootPath(), "HomingRate"), 250);
  // The companion reads these two from the feed.
  EXPECT_EQ(feed->U32(feed::kTurboMode), 0u);
  EXPECT_EQ(feed->U32(feed::kAutoGain), 0u);
}

TEST_F(SoundPageTest, StoredSettingsShowAndLeavingThePageKeepsThem) {
  Main().showInfo = 1;
  Main().homingRate = 400;
  feed->SetU32(feed::kTurboMode, 0);
  page->SetActive();
  EXPECT_FALSE(Find<QCheckBox>("id1042")->isChecked());
  Find<QCheckBox>("id1042")->click();
  page->KillActive();
  EXPECT_EQ(Number(RootPath(), "SlowCPU"), 1);
  EXPECT_EQ(Number(RootPath(), "ShowInfo"), 1);
  EXPECT_EQ(Number(RootPath(), "HomingRate"), 400);
}

TEST_F(SoundPageTest, AMatchingCompanionThatIsNotRunningMustBeStarted) {
  SetCompanionVersion(3, 3);
  page->SetActive();
  EXPECT_EQ(Status(), kMustRun);
  feed->SetU32(feed::kCompanionActive, 1);
  Q_EMIT session.TestEnded();  // back from a test run
  EXPECT_EQ(Status(), kTogether);
}

TEST_F(SoundPageTest, TheStatusFollowsACompanionStartedWhileThePageShows) {
  SetCompanionVersion(3, 3);
  page->show();
  page->SetActive();
  EXPECT_EQ(Status(), kMustRun);
  feed->SetU32(feed::kCompanionActive, 1);
  EXPECT_TRUE(QTest::qWaitFor([this] { return Status() == kTogether; }, 5000));
}

TEST_F(SoundPageTest, LaunchStartsTheCompanionAsTheUserWouldNotAsTheSaver) {
  namespace fs = std::filesystem;
  const fs::path script = fs::path(TestHome()) / "companion.sh";
  const fs::path marker = fs::path(TestHome()) / "companion-args";
  fs::remove(marker);
  // Writes its arguments, then moves the file into place so it is read whole.
  std::ofstream(script) << "#!/bin/sh\necho \"$#:$*\" > '" << marker.string() << ".tmp'\nmv '" << marker.string()
                        << ".tmp' '" << marker.string() << "'\n";
  fs::permissions(script, fs::perms::owner_all);
  ASSERT_TRUE(WriteMachineString(reg::Hive::LocalMachine, "Software\\Tonewell", "", script.c_str()));

  QTest::mouseClick(Find<QWidget>("id1109"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(marker); }, 5000));
  std::string arguments;
  std::getline(std::ifstream(marker), arguments);
  EXPECT_EQ(arguments, "0:") << "no play switch: that is for the saver's own start";
}

TEST_F(SoundPageTest, NoCompanionInstalledIsSaid) {
  EXPECT_EQ(Status(), "Tonewell has not been installed -- sound synchronization is unavaliable!");
}

}  // namespace
}  // namespace fluxo::test
