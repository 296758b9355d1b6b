#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "config/config_page.h"
#include "config/config_session.h"
#include "config/page_factories.h"
#include "config/preview_pane.h"
#include "engine/video_mode.h"
#include "settings/display_fixture.h"
#include "support/test_environment.h"
#include "config/widget_lookup.h"

namespace fluxo::test {
namespace {

using config::ConfigPage;
using config::ConfigSession;
using config::PreviewPane;

std::string RootPath() { return std::string("Control Panel\\") + SettingsKeyName(); }

class MainPageTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    ActivateOnly(kModuleBezier);
    SaveCurrentDisplay("Lines");
    ActivateOnly(kModulePlasma);
    SaveCurrentDisplay("Clouds");  // now "Active"
    // Previews and test runs start this stand-in instead of the saver; it
    // notes every start.
    starts = TestHome() + "/main-page-starts";
    std::remove(starts.c_str());
    session.SetChildProgram("/bin/sh",
                            {"-c", "echo started >> '" + QString::fromStdString(starts) + "'; exec sleep 30", "saver"});
  }
  void TearDown() override {
    page.reset();
    owner.reset();
    DisplayTest::TearDown();
  }

  ConfigPage* Open() {
    page.reset(config::CreateMainPage(session));
    page->SetActive();
    return page.get();
  }
  template <typename T>
  T* Find(const char* id) {
    return FindWidget<T>(page.get(), QString(id));
  }
  bool PreviewRunning() { return Find<PreviewPane>("id1329")->PreviewRunning(); }
  int Starts() const {
    std::ifstream in(starts);
    int lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    return lines;
  }
  // Waits for the `count`th child start with a preview running.
  bool PreviewStarted(int count) {
    return QTest::qWaitFor([&] { return PreviewRunning() && Starts() >= count; }, 5000);
  }

  std::string starts;
  // Goes before the store does, with any test run it started.
  std::unique_ptr<ConfigSession> owner = std::make_unique<ConfigSession>();
  ConfigSession& session = *owner;
  std::unique_ptr<ConfigPage> page;
};

TEST_F(MainPageTest, SpeedTitleSecondsAndQuickPreviewAreStoredOnApply) {
  Open();
  Find<QSlider>("id1301")->setValue(7);
  Find<QSlider>("id1314")->setValue(45);
  EXPECT_EQ(Find<QLineEdit>("id1315")->text(), "45");
  Find<QCheckBox>("id1323")->click();  // on by default: now off
  page->Apply();
  EXPECT_EQ(Number(RootPath(), "Speed"), 7);
  EXPECT_EQ(Number(RootPath(), "ShowName"), 45);
  EXPECT_EQ(Number(RootPath(), "Preview"), 0);
  EXPECT_FALSE(DisplayExists("Scratch")) << "nothing of the display changed";
}

TEST_F(MainPageTest, ATypedTitleTimeIsClampedAndStored) {
  Open();
  Find<QLineEdit>("id1315")->setText("300");
  page->KillActive();
  EXPECT_EQ(Number(RootPath(), "ShowName"), 120);
  EXPECT_EQ(Find<QSlider>("id1314")->value(), 120);
}

TEST_F(MainPageTest, ChoosingADisplayLoadsItMakesItActiveAndCleansTheSlate) {
  Open();
  session.SetConfigDirty(true);
  QSignalSpy changed(&session, &ConfigSession::SavedDisplaysChanged);
  auto* list = Find<QComboBox>("id1078");
  EXPECT_EQ(list->currentText(), "Clouds");
  list->setCurrentIndex(list->findText("Lines"));
  EXPECT_EQ(ActiveDisplayName(), "Lines");
  EXPECT_TRUE(IsActive(kModuleBezier));
  EXPECT_FALSE(IsActive(kModulePlasma));
  EXPECT_FALSE(session.ConfigDirty());
  EXPECT_EQ(changed.count(), 1) << "other pages' lists must follow";
  EXPECT_EQ(list->currentText(), "Lines");
}

TEST_F(MainPageTest, TheListFollowsDisplaysSavedElsewhere) {
  Open();
  auto* list = Find<QComboBox>("id1078");
  SaveCurrentDisplay("Fresh");
  Q_EMIT session.SavedDisplaysChanged();
  EXPECT_GE(list->findText("Fresh"), 0);
  EXPECT_EQ(list->currentText(), "Fresh");
}

TEST_F(MainPageTest, ASliderMoveRestartsThePreviewOnlyWithQuickPreview) {
  Open();
  ASSERT_TRUE(PreviewStarted(1)) << "showing the page starts the preview";
  Find<QSlider>("id1301")->setValue(3);
  ASSERT_TRUE(PreviewStarted(2));

  Find<QCheckBox>("id1323")->click();
  EXPECT_FALSE(PreviewRunning()) << "turning quick preview off stops it";
  EXPECT_EQ(Main().preview, 0u);
  Find<QSlider>("id1301")->setValue(9);
  QTest::qWait(600);
  EXPECT_FALSE(PreviewRunning());
  EXPECT_EQ(Starts(), 2);

  Find<QCheckBox>("id1323")->click();
  EXPECT_TRUE(PreviewStarted(3)) << "turning it on brings it back";
}

TEST_F(MainPageTest, LeavingOrCancellingStopsThePreviewForGood) {
  Open();
  ASSERT_TRUE(PreviewStarted(1));
  Find<QSlider>("id1314")->setValue(10);  // arms the timer again
  page->KillActive();
  EXPECT_FALSE(PreviewRunning());
  QTest::qWait(600);
  EXPECT_FALSE(PreviewRunning()) << "an armed timer must not bring it back behind the page";
  EXPECT_EQ(Starts(), 1);

  page->SetActive();
  ASSERT_TRUE(PreviewStarted(2));
  page->QueryCancel();
  EXPECT_FALSE(PreviewRunning());
}

TEST_F(MainPageTest, AdviceFollowsTheStoredVideoMode) {
  SaveMainSettings();
  Open();
  auto store = [](uint32_t bits) {
    const DisplayModeRecord record = EncodeDisplayMode({bits, 640, 480, 60});
    WriteSetting("DisplayMode", SettingsKeyName(), reg::kRegBinary, record.data(), kDisplayModeSize);
  };
  store(8);
  page->SetActive();
  EXPECT_EQ(Find<QLabel>("id1059")->text(),
            "Fluxo is configured to take advantage of all video mode related features.");
  store(16);
  page->SetActive();
  EXPECT_EQ(Find<QLabel>("id1059")->text(),
            "Fluxo is set to run in a 65536 color video mode.  Many animation features are only available in 256 "
            "color video modes.  To change the video mode that the screen saver uses, see the 'Video Mode' panel.  "
            "For more information about video modes, please consult the documentation.");
}

TEST_F(MainPageTest, PreviewButtonStopsThePreviewAndTestsTheSettings) {
  Open();
  ASSERT_TRUE(PreviewStarted(1));
  Find<QSlider>("id1301")->setValue(12);
  QTest::mouseClick(Find<QWidget>("id1085"), Qt::LeftButton);
  EXPECT_FALSE(PreviewRunning());
  EXPECT_TRUE(session.TestPending());
  EXPECT_EQ(ActiveDisplayName(), kTestingDisplay);
  EXPECT_EQ(Number(RootPath(), "Speed"), 12) << "the test run sees the page's settings";

  session.EndTest();  // as when the test run ends
  auto* list = Find<QComboBox>("id1078");
  EXPECT_EQ(list->findText(kTestingDisplay), -1);
  EXPECT_EQ(list->currentText(), "Clouds");
}

}  // namespace
}  // namespace fluxo::test
