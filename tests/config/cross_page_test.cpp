// Behaviour that spans pages of the real sheet: the saved-display lists, the
// dirty flag on Apply, test runs and what a loaded display shows elsewhere.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>
#include <cstdio>

#include "config/config_sheet.h"
#include "config/edit_displays_page.h"
#include "config/preview_pane.h"
#include "config/widget_lookup.h"
#include "config/dialog_fixture.h"

namespace fluxo::test {
namespace {

using config::ConfigSheet;

constexpr int kMainPage = 21;
constexpr int kEditPage = 23;
constexpr int kSequencerPage = 25;

class CrossPageTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    Saver().configurationRun = true;
  }
  void TearDown() override {
    Saver().configurationRun = false;
    DialogTest::TearDown();
  }
  static QStringList Names(QComboBox* list) {
    QStringList names;
    for (int i = 0; i < list->count(); ++i) names << list->itemText(i);
    return names;
  }
};

TEST_F(CrossPageTest, VisitingEveryPageAndApplyingWithoutChangesSavesNoScratch) {
  StoreDisplay("Calm", kModuleBezier);
  ConfigSheet sheet;
  for (int page = 0; page < config::kPageCount; ++page) sheet.ShowPage(page);
  sheet.ShowPage(kMainPage);
  EXPECT_FALSE(sheet.Session().ConfigDirty());
  sheet.ApplyPages();
  EXPECT_FALSE(DisplayExists("Scratch"));
  EXPECT_EQ(ActiveDisplayName(), "Calm");
}

TEST_F(CrossPageTest, TheSavedDisplayListsOfMainAndEditDisplaysStayInStep) {
  StoreDisplay("Calm", kModuleBezier);
  StoreDisplay("Storm", kModuleStar);
  WriteActiveDisplay("Calm");
  ConfigSheet sheet;
  sheet.ShowPage(kEditPage);
  auto* edit = static_cast<config::EditDisplaysPage*>(sheet.Page(kEditPage));
  edit->Dialogs().askYesNo = [](QWidget*, const QString&, const QString&) { return true; };
  auto* mainList = FindWidget<QComboBox>(sheet.Page(kMainPage), 1078);
  auto* editList = FindWidget<QComboBox>(edit, 1078);
  // Choosing on Main shows on Edit Displays.
  sheet.ShowPage(kMainPage);
  mainList->setCurrentIndex(mainList->findText("Storm"));
  EXPECT_EQ(ActiveDisplayName(), "Storm");
  sheet.ShowPage(kEditPage);
  EXPECT_EQ(editList->currentText(), "Storm");
  EXPECT_TRUE(FindWidget<QCheckBox>(edit, 1084)->isChecked());
  EXPECT_FALSE(FindWidget<QCheckBox>(edit, 1021)->isChecked());
  // A save under a new name shows on Main, selected.
  FindWidget<QCheckBox>(edit, 1021)->click();
  editList->setEditText("Breeze");
  FindWidget<QPushButton>(edit, 1080)->click();
  ASSERT_TRUE(DisplayExists("Breeze"));
  EXPECT_TRUE(Names(mainList).contains("Breeze"));
  EXPECT_EQ(mainList->currentText(), "Breeze");
  // A delete goes from both.
  editList->setEditText("Storm");
  FindWidget<QPushButton>(edit, 1077)->click();
  EXPECT_FALSE(DisplayExists("Storm"));
  EXPECT_FALSE(Names(mainList).contains("Storm"));
  EXPECT_EQ(Names(mainList), Names(editList));
  EXPECT_EQ(mainList->currentText(), editList->currentText());
}

TEST_F(CrossPageTest, AChangeOnEditDisplaysIsSavedAsScratchByApplyOnAnotherPage) {
  StoreDisplay("Calm", kModuleBezier);
  ConfigSheet sheet;
  sheet.ShowPage(kEditPage);
  FindWidget<QCheckBox>(sheet.Page(kEditPage), 1084)->click();
  sheet.ShowPage(kMainPage);
  sheet.ApplyPages();
  ASSERT_TRUE(DisplayExists("Scratch"));
  EXPECT_EQ(ActiveDisplayName(), "Scratch");
  EXPECT_TRUE(DisplayHasModule("Scratch", "Star"));
  EXPECT_EQ(FindWidget<QComboBox>(sheet.Page(kMainPage), 1078)->currentText(), "Scratch");
}

TEST_F(CrossPageTest, ADisplayDeletedBehindTheDialogIsNotLoadedFromAStaleList) {
  StoreDisplay("Calm", kModuleBezier);
  StoreDisplay("Storm", kModuleStar);
  WriteActiveDisplay("Calm");
  LoadDisplay("Calm");
  ConfigSheet sheet;
  auto* mainList = FindWidget<QComboBox>(sheet.Page(kMainPage), 1078);
  DeleteDisplay("Storm");
  mainList->setCurrentIndex(mainList->findText("Storm"));
  EXPECT_EQ(ActiveDisplayName(), "Calm");
  EXPECT_TRUE(IsActive(kModuleBezier));
  EXPECT_FALSE(Names(mainList).contains("Storm"));
  EXPECT_EQ(mainList->currentText(), "Calm");
  // The same from Edit Displays' list.
  StoreDisplay("Rain", kModuleStar);
  LoadDisplay("Calm");
  WriteActiveDisplay("Calm");
  sheet.ShowPage(kEditPage);
  auto* editList = FindWidget<QComboBox>(sheet.Page(kEditPage), 1078);
  DeleteDisplay("Rain");
  editList->setCurrentIndex(editList->findText("Rain"));
  Q_EMIT editList->activated(editList->currentIndex());
  EXPECT_EQ(ActiveDisplayName(), "Calm");
  EXPECT_TRUE(IsActive(kModuleBezier));
  EXPECT_FALSE(Names(editList).contains("Rain"));
  EXPECT_EQ(editList->currentText(), "Calm");
}

TEST_F(CrossPageTest, ApplyDoesNotPutBackTheSequenceOfADisplayLoadedBefore) {
  StoreDisplay("Calm", kModuleBezier);
  StoreDisplay("Storm", kModuleStar);
  SequenceItem item{};
  std::snprintf(item.name, sizeof item.name, "%s", "Calm");
  item.seconds = 5;
  CurrentSequence().items = {item};
  ActivateOnly(kModuleSequencer);
  SaveCurrentDisplay("Seq A");
  std::snprintf(item.name, sizeof item.name, "%s", "Storm");
  item.seconds = 9;
  CurrentSequence().items = {item};
  SaveCurrentDisplay("Seq B");
  LoadDisplay("Seq A");
  WriteActiveDisplay("Seq A");
  ConfigSheet sheet;
  sheet.ShowPage(kSequencerPage);
  sheet.ShowPage(kMainPage);
  auto* mainList = FindWidget<QComboBox>(sheet.Page(kMainPage), 1078);
  mainList->setCurrentIndex(mainList->findText("Seq B"));
  ASSERT_EQ(CurrentSequence().items.size(), 1u);
  sheet.ApplyPages();
  ASSERT_EQ(CurrentSequence().items.size(), 1u);
  EXPECT_STREQ(CurrentSequence().items[0].name, "Storm");
  sheet.ShowPage(kSequencerPage);
  auto* rows = FindWidget<QTreeWidget>(sheet.Page(kSequencerPage), 1018);
  ASSERT_EQ(rows->topLevelItemCount(), 1);
  EXPECT_EQ(rows->topLevelItem(0)->text(0), "Storm");
}

TEST_F(CrossPageTest, AfterATestRunTheListsHoldNoTestDisplayAndActiveIsBack) {
  StoreDisplay("Calm", kModuleBezier);
  WriteActiveDisplay("Calm");
  ConfigSheet sheet;
  sheet.Session().SetChildProgram("/bin/sh", {"-c", "sleep 0.3", "saver"});
  sheet.ShowPage(kEditPage);
  FindWidget<QPushButton>(sheet.Page(kEditPage), 1085)->click();
  EXPECT_EQ(ActiveDisplayName(), "Testing Current Settings");
  QTRY_VERIFY_WITH_TIMEOUT(!sheet.Session().TestPending(), 10000);
  EXPECT_EQ(ActiveDisplayName(), "Calm");
  EXPECT_FALSE(DisplayExists("Testing Current Settings"));
  for (int page : {kMainPage, kEditPage}) {
    auto* list = FindWidget<QComboBox>(sheet.Page(page), 1078);
    EXPECT_FALSE(Names(list).contains("Testing Current Settings"));
    EXPECT_EQ(list->currentText(), "Calm");
  }
}

TEST_F(CrossPageTest, PagesMadeEarlierShowADisplayLoadedOnMain) {
  PaletteState& live = *CurrentPalette();
  const int brightness = ParamSlot(0, 0);
  live.value[brightness] = live.minValue[0];
  live.customEntries[0] = {10, 20, 30, 1};
  StoreDisplay("Calm", kModuleBezier, 11);
  live.value[brightness] = live.minValue[0] + 1;
  live.customEntries[0] = {70, 80, 90, 1};
  StoreDisplay("Storm", kModuleBezier, 17);
  LoadDisplay("Calm");
  WriteActiveDisplay("Calm");
  ConfigSheet sheet;
  for (int page : {0, 18, 19}) sheet.ShowPage(page);
  sheet.ShowPage(kMainPage);
  auto* mainList = FindWidget<QComboBox>(sheet.Page(kMainPage), 1078);
  mainList->setCurrentIndex(mainList->findText("Storm"));
  sheet.ShowPage(0);
  EXPECT_EQ(FindWidget<QSlider>(sheet.Page(0), 100)->value(), 17);
  EXPECT_EQ(FindWidget<QLineEdit>(sheet.Page(0), 130)->text(), "17");
  sheet.ShowPage(18);
  EXPECT_EQ(FindWidget<QSlider>(sheet.Page(18), 100)->value(), live.minValue[0] + 1);
  sheet.ShowPage(19);
  // Swatch 0 is the one selected: the sliders show its colour.
  EXPECT_EQ(FindWidget<QSlider>(sheet.Page(19), "sliderRed")->value(), 70);
  EXPECT_FALSE(sheet.Session().ConfigDirty());
}

TEST_F(CrossPageTest, CancelSavesNoDisplay) {
  StoreDisplay("Calm", kModuleBezier, 11);
  LoadDisplay("Calm");
  ConfigSheet sheet;
  sheet.ShowPage(0);
  auto* edit = FindWidget<QLineEdit>(sheet.Page(0), 130);
  edit->setText("60");
  Q_EMIT edit->editingFinished();
  EXPECT_TRUE(sheet.Session().ConfigDirty());
  sheet.ShowPage(kMainPage);
  sheet.reject();
  EXPECT_FALSE(DisplayExists("Scratch"));
  EXPECT_EQ(ActiveDisplayName(), "Calm");
  LoadDisplay("Calm");
  EXPECT_EQ(Controls(kModuleBezier).value[0], 11);
}

TEST_F(CrossPageTest, ApplyKeepsTheModulesOfADisplayLoadedAfterEditDisplaysWasLeft) {
  StoreDisplay("Calm", kModuleBezier);
  StoreDisplay("Storm", kModuleStar);
  LoadDisplay("Calm");
  WriteActiveDisplay("Calm");
  ConfigSheet sheet;
  sheet.ShowPage(kEditPage);
  sheet.ShowPage(kMainPage);
  auto* mainList = FindWidget<QComboBox>(sheet.Page(kMainPage), 1078);
  mainList->setCurrentIndex(mainList->findText("Storm"));
  sheet.ApplyPages();
  EXPECT_TRUE(IsActive(kModuleStar));
  EXPECT_FALSE(IsActive(kModuleBezier));
  EXPECT_TRUE(FindWidget<QCheckBox>(sheet.Page(kEditPage), 1084)->isChecked());
}

TEST_F(CrossPageTest, QuickPreviewSwitchedOffOnTheSequencerStaysOffAfterApply) {
  Main().preview = 1;
  ConfigSheet sheet;
  sheet.Session().SetChildProgram("/bin/sh", {"-c", "exec sleep 30", "saver"});
  sheet.ShowPage(kSequencerPage);
  FindWidget<QCheckBox>(sheet.Page(kSequencerPage), 1323)->click();
  EXPECT_EQ(Main().preview, 0u);
  sheet.ApplyPages();
  EXPECT_EQ(Main().preview, 0u);
  ResetMainSettings();
  LoadMainSettings();
  EXPECT_EQ(Main().preview, 0u);
  sheet.ShowPage(kMainPage);
  EXPECT_FALSE(FindWidget<QCheckBox>(sheet.Page(kMainPage), 1323)->isChecked());
}

TEST_F(CrossPageTest, AfterATestOnlyThePageShowingBringsItsPreviewBack) {
  StoreDisplay("Calm", kModuleBezier);
  Main().preview = 1;
  ConfigSheet sheet;
  sheet.Session().SetChildProgram("/bin/sh", {"-c", "exec sleep 30", "saver"});
  sheet.ShowPage(kSequencerPage);
  auto* available = FindWidget<QListWidget>(sheet.Page(kSequencerPage), 1019);
  ASSERT_GT(available->count(), 0);
  available->item(0)->setSelected(true);
  sheet.ShowPage(kMainPage);
  sheet.Session().TestSettings();
  sheet.Session().EndTest();
  auto* pane = FindWidget<config::PreviewPane>(sheet.Page(kSequencerPage), 1329);
  QTest::qWait(600);
  EXPECT_FALSE(pane->PreviewRunning()) << "a preview in a page nobody sees";
}

}  // namespace
}  // namespace fluxo::test
