#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <memory>

#include "config/config_page.h"
#include "config/config_session.h"
#include "config/page_factories.h"
#include "config/picture_dialog.h"
#include "host/picture_import.h"
#include "settings/display_fixture.h"
#include "support/test_environment.h"
#include "config/widget_lookup.h"

namespace fluxo::test {
namespace {

using config::ConfigPage;
using config::ConfigSession;

class ModulePageTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    session = std::make_unique<ConfigSession>();
    // Test runs start a stand-in instead of the saver.
    session->SetChildProgram("/bin/sh", {"-c", "exec sleep 30", "saver"});
  }
  void TearDown() override {
    page.reset();
    session.reset();
    config::SetPictureChooser(nullptr);
    DisplayTest::TearDown();
  }

  ConfigPage* Open(int module) {
    page.reset(config::CreateModulePage(*session, module));
    page->resize(720, 520);
    page->SetActive();
    return page.get();
  }
  // Shown and active, for what needs the keyboard focus.
  void ShowActive() {
    page->show();
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
  }

  template <typename W>
  W* Find(int id) const {
    return FindWidget<W>(page.get(), id);
  }
  bool Shown(int id) const { return !Find<QWidget>(id)->isHidden(); }
  QString PageText() const { return Find<QLabel>(1320)->text(); }
  void Step(const char* arrow) {
    QTest::mouseClick(Find<QWidget>(1319)->findChild<QToolButton*>(arrow), Qt::LeftButton);
  }

  std::unique_ptr<ConfigSession> session;
  std::unique_ptr<ConfigPage> page;
};

TEST_F(ModulePageTest, ShowsOneRowPerControlWithTheModulesCaptions) {
  Open(kModuleBezier);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(Find<QLabel>(370 + i)->text(), QString::fromUtf8(Controls(kModuleBezier).label[i]));
    EXPECT_TRUE(Shown(100 + i) && Shown(130 + i) && Shown(220 + i)) << i;
    EXPECT_FALSE(Shown(250 + i) || Shown(280 + i) || Shown(190 + i)) << i;
    EXPECT_EQ(Find<QSlider>(100 + i)->value(), Controls(kModuleBezier).defaultValue[i]);
  }
  EXPECT_EQ(page->findChild<QLabel*>("id380"), nullptr);
  EXPECT_EQ(Find<QPushButton>(1086)->text(), "Test Bezier Settings");
  EXPECT_EQ(Find<QPushButton>(1087)->text(), "Reset Bezier Controls");
  EXPECT_EQ(Find<QGroupBox>(1038)->title(), " Current settings for the Bezier module: ");
  // Ten controls: no page selector.
  EXPECT_FALSE(Shown(1319));
  EXPECT_FALSE(Shown(1320));
  EXPECT_FALSE(session->ConfigDirty());  // showing is no change
}

TEST_F(ModulePageTest, WhipsThreePagesOfControlsStayWithinTheirRange) {
  Open(kModuleWhip);
  ASSERT_TRUE(Shown(1319) && Shown(1320));
  EXPECT_EQ(PageText(), "Page 1 of 3");
  Step("previousPage");
  EXPECT_EQ(PageText(), "Page 1 of 3");
  EXPECT_TRUE(Shown(370) && !Shown(380));

  Step("nextPage");
  EXPECT_EQ(PageText(), "Page 2 of 3");
  EXPECT_TRUE(!Shown(370) && Shown(380) && Shown(100 + 10));
  EXPECT_EQ(page->findChild<QLabel*>("id383"), nullptr);  // Whip has no control 13

  for (int k = 0; k < 3; ++k) Step("nextPage");
  EXPECT_EQ(PageText(), "Page 3 of 3");
  EXPECT_EQ(Slot(kModuleWhip).settingsPage, 2u);
  EXPECT_TRUE(Shown(395) && !Shown(380) && !Shown(370));
  // The keyboard counts the page number as the arrows do.
  QTest::keyClick(Find<QWidget>(1319), Qt::Key_Down);
  EXPECT_EQ(PageText(), "Page 2 of 3");
  QTest::keyClick(Find<QWidget>(1319), Qt::Key_Up);
  EXPECT_EQ(PageText(), "Page 3 of 3");

  // The page of controls is kept with the module: a new page opens on it.
  Open(kModuleWhip);
  EXPECT_EQ(PageText(), "Page 3 of 3");
}

TEST_F(ModulePageTest, ATypedValueIsClampedWhenTheFieldIsLeft) {
  Open(kModuleBezier);  // control 2, "Trail Length": 1..100
  ShowActive();
  QLineEdit* edit = Find<QLineEdit>(132);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "500");
  EXPECT_FALSE(session->ConfigDirty());
  Find<QWidget>(101)->setFocus();

  EXPECT_EQ(edit->text(), "100");
  EXPECT_EQ(Find<QSlider>(102)->value(), 100);
  EXPECT_EQ(Controls(kModuleBezier).value[2], 100);
  // 100 is already the default: nothing changed.
  EXPECT_FALSE(session->ConfigDirty());

  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "-7");
  Find<QWidget>(101)->setFocus();
  EXPECT_EQ(edit->text(), "1");
  EXPECT_EQ(Find<QSlider>(102)->value(), 1);
  EXPECT_EQ(Controls(kModuleBezier).value[2], 1);
  EXPECT_TRUE(session->ConfigDirty());
}

TEST_F(ModulePageTest, AValueTypedButNotLeftCountsOnApply) {
  Open(kModuleBezier);
  ShowActive();
  QLineEdit* edit = Find<QLineEdit>(130);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, "7");
  page->Apply();
  EXPECT_EQ(Controls(kModuleBezier).value[0], 7);
  EXPECT_TRUE(DisplayExists("Scratch"));
}

TEST_F(ModulePageTest, TheSourceDecidesBetweenValueAndRange) {
  Open(kModuleBezier);  // control 1, "Symmetry", is sound-capable
  QComboBox* source = Find<QComboBox>(221);
  source->setCurrentIndex(kSourceOscillate);
  EXPECT_EQ(Controls(kModuleBezier).source[1], kSourceOscillate);
  EXPECT_FALSE(Shown(101) || Shown(131));
  EXPECT_TRUE(Shown(251) && Shown(311) && Shown(281) && Shown(341) && Shown(191));
  EXPECT_TRUE(session->ConfigDirty());
  // The other rows keep their sources.
  EXPECT_EQ(Controls(kModuleBezier).source[0], kSourceSet);
  EXPECT_TRUE(Shown(100));

  Find<QSpinBox>(191)->setValue(3);
  EXPECT_EQ(Controls(kModuleBezier).sense[1], 3);

  source->setCurrentIndex(kSourceSet);
  EXPECT_TRUE(Shown(101) && Shown(131));
  EXPECT_FALSE(Shown(251) || Shown(281) || Shown(191));
}

TEST_F(ModulePageTest, OnlySoundCapableControlsOfferSoundSources) {
  Open(kModuleBezier);
  QComboBox* plain = Find<QComboBox>(220);  // "Beziers"
  ASSERT_EQ(plain->count(), 2);
  EXPECT_EQ(plain->itemText(0), "Set");
  EXPECT_EQ(plain->itemText(1), "Random");
  QComboBox* sound = Find<QComboBox>(221);
  ASSERT_EQ(sound->count(), 22);
  EXPECT_EQ(sound->itemText(2), "Oscillate");
  EXPECT_EQ(sound->itemText(21), "18KHz");
}

TEST_F(ModulePageTest, ResetRestoresTheDefinitions) {
  Open(kModuleStar);
  Find<QSlider>(100)->setValue(Controls(kModuleStar).maxValue[0]);
  Find<QComboBox>(220)->setCurrentIndex(kSourceRandom);
  session->SetConfigDirty(false);

  QTest::mouseClick(Find<QPushButton>(1087), Qt::LeftButton);
  const ControlBlock& c = Controls(kModuleStar);
  for (int i = 0; i < kControlCount; ++i) {
    if (!c.defined[i]) continue;
    EXPECT_EQ(c.value[i], c.defaultValue[i]) << i;
    EXPECT_EQ(c.source[i], kSourceSet) << i;
    EXPECT_EQ(c.sense[i], 10) << i;
  }
  EXPECT_EQ(Find<QSlider>(100)->value(), c.defaultValue[0]);
  EXPECT_EQ(Find<QLineEdit>(130)->text(), QString::number(c.defaultValue[0]));
  EXPECT_TRUE(Shown(100));
  EXPECT_TRUE(session->ConfigDirty());
}

TEST_F(ModulePageTest, ApplyStoresExactlyWhatWasChanged) {
  ActivateOnly(kModuleBezier);
  Open(kModuleBezier);
  Find<QSlider>(102)->setValue(50);                      // Trail Length
  Find<QComboBox>(223)->setCurrentIndex(kSourceVolume);  // Width follows the volume ...
  Find<QSlider>(253)->setValue(5);                       // ... from 5
  page->Apply();

  ASSERT_EQ(ActiveDisplayName(), "Scratch");
  const std::string key = ModuleKey("Scratch", "Bezier");
  EXPECT_EQ(Number(key, "Control2"), 50);
  EXPECT_EQ(Number(key, "Check3"), kSourceVolume);
  EXPECT_EQ(Number(key, "RangeLo3"), 5);
  EXPECT_EQ(Number(key, "Sense3"), 10);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(Number(key, ("Check" + std::to_string(i)).c_str()), i == 3 ? 3 : 0);
  // Everything else is at its default and not stored.
  EXPECT_EQ(ValueCount(key), 10u + 3u);
}

TEST_F(ModulePageTest, TestingTheModuleRunsItAlone) {
  ActivateOnly(kModuleBezier);
  Open(kModuleStar);
  QTest::mouseClick(Find<QPushButton>(1086), Qt::LeftButton);
  EXPECT_TRUE(DisplayHasModule(kTestingDisplay, "Star"));
  EXPECT_FALSE(DisplayHasModule(kTestingDisplay, "Bezier"));
  EXPECT_TRUE(IsActive(kModuleBezier) && !IsActive(kModuleStar));
  session->EndTest();
}

class PlugInPageTest : public ModulePageTest {
 protected:
  void UsePlugInFolder(const std::string& folder) {
    std::filesystem::create_directories(folder);
    MakeKey("Control Panel\\Screen Saver.Fluxo");
    ASSERT_TRUE(WriteSetting("PlugInDir", SettingsKeyName(), reg::kRegSz, folder.c_str(),
                             static_cast<uint32_t>(folder.size() + 1)));
  }
  bool NoticeShown() const { return !page->findChild<QLabel*>("noPlugIns")->isHidden(); }
};

TEST_F(PlugInPageTest, WithoutLibrariesOnlyTheNoticeShows) {
  const std::string folder = TestHome() + "/plugins-none";
  UsePlugInFolder(folder);
  std::ofstream(folder + "/readme.txt") << "not a library";
  Open(kModulePlugIn);
  EXPECT_TRUE(NoticeShown());
  EXPECT_EQ(page->findChild<QLabel*>("noPlugIns")->text(),
            "There are no Plug-In Modules installed.\n\nYou can find out more about Plug-In Modules (including\n"
            "where to download them and how to develop your own)\nin the help file.");
  EXPECT_FALSE(Shown(1038));
  EXPECT_FALSE(Find<QPushButton>(1086)->isEnabled());
  EXPECT_FALSE(Find<QPushButton>(1087)->isEnabled());
  EXPECT_TRUE(Find<QPushButton>(1085)->isEnabled());
}

TEST_F(PlugInPageTest, RowsFollowThePlugInsControlsAtEveryShowing) {
  const std::string folder = TestHome() + "/plugins-some";
  UsePlugInFolder(folder);
  std::ofstream(folder + "/Swirl.SO") << "";  // counted, never loaded here
  ControlBlock& c = Controls(kModulePlugIn);
  c = ControlBlock{};
  DefineModuleControl(kModulePlugIn, 10, 0, 5, 1, 20);
  Open(kModulePlugIn);
  EXPECT_FALSE(NoticeShown());
  EXPECT_TRUE(Find<QPushButton>(1086)->isEnabled());
  EXPECT_TRUE(Shown(370));
  EXPECT_EQ(page->findChild<QLabel*>("id371"), nullptr);

  // Another library with controls on two pages, the second one shown last.
  c = ControlBlock{};
  DefineModuleControl(kModulePlugIn, 11, 3, 5, 1, 20);
  DefineModuleControl(kModulePlugIn, 12, 12, 5, 1, 20);
  Slot(kModulePlugIn).settingsPage = 1;
  page->SetActive();
  EXPECT_EQ(page->findChild<QLabel*>("id370"), nullptr);
  EXPECT_TRUE(Shown(382) && !Shown(373));
  EXPECT_EQ(PageText(), "Page 2 of 2");

  // One with fewer pages than the page shown: its last page shows.
  c = ControlBlock{};
  DefineModuleControl(kModulePlugIn, 11, 3, 5, 1, 20);
  page->SetActive();
  EXPECT_TRUE(Shown(373));
  EXPECT_EQ(Slot(kModulePlugIn).settingsPage, 0u);
}

class SlideShowPageTest : public ModulePageTest {};

TEST_F(SlideShowPageTest, BrowseStoresTheChosenPicture) {
  const std::string folder = TestHome() + "/pictures";
  std::filesystem::create_directories(folder);
  QString askedTitle, askedStart;
  QStringList askedFilters;
  QString answer = QString::fromStdString(folder + "/Sunset.bmp");
  config::SetPictureChooser([&](QWidget*, const QString& title, const QString& start, const QStringList& filters) {
    askedTitle = title;
    askedStart = start;
    askedFilters = filters;
    return answer;
  });
  std::snprintf(Slot(kModuleBitmap).path, sizeof Slot(kModuleBitmap).path, "%s", folder.c_str());
  Open(kModuleBitmap);
  EXPECT_EQ(Find<QLineEdit>(1292)->text(), QString::fromStdString(folder));
  QTest::mouseClick(Find<QPushButton>(1299), Qt::LeftButton);

  EXPECT_EQ(askedTitle, "Open Bitmap");
  EXPECT_EQ(askedStart, QString::fromStdString(folder));  // the folder the text named
  ASSERT_FALSE(askedFilters.isEmpty());
  EXPECT_TRUE(askedFilters.contains("Bitmaps (*.bmp *.dib *.rle)"));
  EXPECT_STREQ(Slot(kModuleBitmap).path, (folder + "/Sunset.bmp").c_str());
  EXPECT_EQ(Find<QLineEdit>(1292)->text(), answer);
  EXPECT_TRUE(session->ConfigDirty());

  // Cancelled: nothing changes.
  session->SetConfigDirty(false);
  answer.clear();
  QTest::mouseClick(Find<QPushButton>(1299), Qt::LeftButton);
  EXPECT_STREQ(Slot(kModuleBitmap).path, (folder + "/Sunset.bmp").c_str());
  EXPECT_FALSE(session->ConfigDirty());

  // Resetting the module forgets its pictures too.
  QTest::mouseClick(Find<QPushButton>(1087), Qt::LeftButton);
  EXPECT_STREQ(Slot(kModuleBitmap).path, "");
  EXPECT_TRUE(Find<QLineEdit>(1292)->text().isEmpty());
}

TEST_F(SlideShowPageTest, ATypedPathIsKeptWhole) {
  Open(kModuleBitmap);
  ShowActive();
  QLineEdit* file = Find<QLineEdit>(1292);
  file->setFocus();
  // Longer than the record holds, with a two-byte character across its end.
  const QString typed = QString(258, QLatin1Char('a')) + QString::fromUtf8("\xC3\xA9") + "xyz";
  file->setText(typed);
  Find<QWidget>(100)->setFocus();
  EXPECT_EQ(std::strlen(Slot(kModuleBitmap).path), 258u);
  EXPECT_EQ(file->text(), QString(258, QLatin1Char('a')));
  EXPECT_TRUE(session->ConfigDirty());
}

TEST_F(SlideShowPageTest, ShowsTheFormatsAndTheStrengthRow) {
  Open(kModuleBitmap);
  EXPECT_EQ(Find<QPlainTextEdit>(1300)->toPlainText(), QString::fromStdString(SupportedFormatsText()));
  EXPECT_TRUE(Find<QPlainTextEdit>(1300)->isReadOnly());
  EXPECT_TRUE(Shown(379));  // "Strength"
  EXPECT_EQ(page->findChild<QLabel*>("id376"), nullptr);
  EXPECT_FALSE(Shown(1320));
}

}  // namespace
}  // namespace fluxo::test
