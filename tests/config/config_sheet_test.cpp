#include "config/config_sheet.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QVBoxLayout>
#include <vector>

#include "config/config_page.h"
#include "config/dialog_fixture.h"
#include "sound/sound_feed.h"

namespace fluxo::test {
namespace {

using config::ConfigPage;
using config::ConfigSession;
using config::ConfigSheet;
using config::PageEntry;

// What happened to which page, in order: "21 set", "21 kill", "3 apply", ...
std::vector<std::string> g_events;

class RecordingPage : public ConfigPage {
 public:
  RecordingPage(ConfigSession& session, int index) : ConfigPage(session), index_(index) {
    auto* layout = new QVBoxLayout(this);
    for (const char* name : {"first", "second"}) {
      auto* edit = new QLineEdit;
      edit->setObjectName(name);
      layout->addWidget(edit);
    }
  }
  void SetActive() override { Record("set"); }
  void KillActive() override {
    Record("kill");
    ConfigPage::KillActive();
  }
  void Apply() override {
    Record("apply");
    ConfigPage::Apply();
  }
  void QueryCancel() override { Record("cancel"); }

 private:
  void Record(const char* what) { g_events.push_back(std::to_string(index_) + " " + what); }
  int index_;
};

ConfigPage* MakeRecordingPage(const PageEntry& entry, ConfigSession& session) {
  return new RecordingPage(session, static_cast<int>(&entry - config::kPages.data()));
}

class ConfigSheetTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    g_events.clear();
  }
  static QListWidget* List(ConfigSheet& sheet) { return sheet.findChild<QListWidget*>("pageList"); }
  static std::vector<int> CreatedPages(const ConfigSheet& sheet) {
    std::vector<int> created;
    for (int i = 0; i < config::kPageCount; ++i)
      if (sheet.Page(i)) created.push_back(i);
    return created;
  }
};

TEST_F(ConfigSheetTest, ListsTheTwentySixPagesInOrderAndOpensOnMainSettings) {
  const char* const titles[] = {"Bezier",
                                "Cyclic",
                                "Pattern",
                                "Plasma",
                                "Polygon",
                                "Sphere",
                                "Stain",
                                "Star",
                                "Vortex",
                                "Ray",
                                "Whip",
                                "Effect",
                                "Flow",
                                "Random",
                                "Slide Show",
                                "Line",
                                "Squiggle",
                                "Plug-In",
                                "Palette",
                                "Custom",
                                "Sound",
                                "Main Settings",
                                "Auxiliary Settings",
                                "Edit Displays",
                                "Video Mode",
                                "Sequencer"};
  ConfigSheet sheet(nullptr, MakeRecordingPage);
  QListWidget* list = List(sheet);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 26);
  for (int i = 0; i < 26; ++i) {
    EXPECT_EQ(list->item(i)->text(), titles[i]) << i;
    const int icon = list->item(i)->data(Qt::UserRole).toInt();
    EXPECT_TRUE(icon >= 102 && icon <= 109) << i;
  }
  EXPECT_EQ(list->item(19)->data(Qt::UserRole).toInt(), 102);  // the custom palette's own picture
  EXPECT_EQ(list->item(21)->data(Qt::UserRole).toInt(), 105);
  EXPECT_EQ(list->currentRow(), 21);
  EXPECT_EQ(sheet.CurrentPage(), 21);
  EXPECT_EQ(CreatedPages(sheet), std::vector<int>{21});
  EXPECT_EQ(g_events, std::vector<std::string>{"21 set"});
}

TEST_F(ConfigSheetTest, ModulePagesEditTheirOwnModule) {
  // The list order is not the module order: Effect, Flow, Random and Slide Show are mixed in.
  const std::pair<int, int> pageModule[] = {{0, kModuleBezier},  {11, kModuleEffect},   {12, kModuleFlow},
                                            {13, kModuleRandom}, {14, kModuleBitmap},   {15, kModuleLine},
                                            {17, kModulePlugIn}, {25, kModuleSequencer}};
  for (auto [page, module] : pageModule) EXPECT_EQ(config::kPages[page].module, module) << page;
  for (int page = 18; page <= 24; ++page) EXPECT_EQ(config::kPages[page].module, -1) << page;
}

TEST_F(ConfigSheetTest, PagesAreMadeWhenFirstShownAndToldWhenTheyComeAndGo) {
  ConfigSheet sheet(nullptr, MakeRecordingPage);
  sheet.ShowPage(3);
  sheet.ShowPage(21);
  sheet.ShowPage(3);
  EXPECT_EQ(CreatedPages(sheet), (std::vector<int>{3, 21}));
  EXPECT_EQ(g_events, (std::vector<std::string>{"21 set", "21 kill", "3 set", "3 kill", "21 set", "21 kill", "3 set"}));
  // The page area shows the page that was chosen last, under its title.
  EXPECT_EQ(sheet.findChild<QStackedWidget*>()->currentWidget(), sheet.Page(3));
  EXPECT_EQ(sheet.findChild<QLabel*>("pageTitle")->text(), "Plasma");
}

TEST_F(ConfigSheetTest, ArrowKeysInTheListChangePages) {
  ConfigSheet sheet(nullptr, MakeRecordingPage);
  sheet.show();
  QListWidget* list = List(sheet);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(sheet.CurrentPage(), 22);
  QTest::keyClick(list, Qt::Key_Up);
  QTest::keyClick(list, Qt::Key_Up);
  EXPECT_EQ(sheet.CurrentPage(), 20);
  EXPECT_EQ(CreatedPages(sheet), (std::vector<int>{20, 21, 22}));
}

TEST_F(ConfigSheetTest, TabGoesFromTheListIntoThePageAndOnToTheButtons) {
  ConfigSheet sheet(nullptr, MakeRecordingPage);
  sheet.show();
  QApplication::setActiveWindow(&sheet);
  sheet.ShowPage(4);  // made after the buttons
  List(sheet)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), sheet.Page(4)->findChild<QLineEdit*>("first"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), sheet.Page(4)->findChild<QLineEdit*>("second"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_NE(qobject_cast<QPushButton*>(QApplication::focusWidget()), nullptr);
}

TEST_F(ConfigSheetTest, ApplyReachesEveryMadePageAndSavesTheEditedDisplay) {
  ConfigSheet sheet(nullptr, MakeRecordingPage);
  sheet.show();
  sheet.ShowPage(0);
  ActivateOnly(kModulePlasma);
  sheet.Session().SetConfigDirty(true);
  g_events.clear();
  QPushButton* apply = nullptr;
  for (QPushButton* button : sheet.findChildren<QPushButton*>())
    if (button->text().remove('&') == "Apply") apply = button;
  ASSERT_NE(apply, nullptr);
  QTest::mouseClick(apply, Qt::LeftButton);
  EXPECT_EQ(g_events, (std::vector<std::string>{"0 apply", "21 apply"}));
  EXPECT_TRUE(DisplayHasModule("Scratch", "Plasma"));
  EXPECT_EQ(ActiveDisplayName(), "Scratch");
  EXPECT_TRUE(sheet.isVisible()) << "Apply closed the sheet";
}

TEST_F(ConfigSheetTest, OkAppliesAndClosesCancelOnlyCancels) {
  {
    ConfigSheet sheet(nullptr, MakeRecordingPage);
    sheet.ShowPage(5);
    g_events.clear();
    sheet.accept();
    EXPECT_EQ(g_events, (std::vector<std::string>{"5 apply", "21 apply"}));
    EXPECT_EQ(sheet.result(), QDialog::Accepted);
  }
  g_events.clear();
  ConfigSheet sheet(nullptr, MakeRecordingPage);
  sheet.ShowPage(23);
  g_events.clear();
  sheet.Session().SetConfigDirty(true);
  sheet.reject();
  EXPECT_EQ(g_events, (std::vector<std::string>{"21 cancel", "23 cancel"}));
  EXPECT_EQ(sheet.result(), QDialog::Rejected);
  EXPECT_FALSE(DisplayExists("Scratch"));
}

TEST_F(ConfigSheetTest, CaptionNamesTheCompanionOnlyWhenItReportsAVersion) {
  EXPECT_EQ(ConfigSheet(nullptr, MakeRecordingPage).windowTitle(), "Fluxo v3.9.990");
  feed->SetU16(feed::kCompanionMajor, 2);
  feed->SetU16(feed::kCompanionMinor, 1);
  EXPECT_EQ(ConfigSheet(nullptr, MakeRecordingPage).windowTitle(), "Fluxo v3.9.990 w/Tonewell v2.1");
  feed->SetU16(feed::kCompanionMajor, 0);
  feed->SetU16(feed::kCompanionMinor, 7);
  EXPECT_EQ(ConfigSheet(nullptr, MakeRecordingPage).windowTitle(), "Fluxo v3.9.990");
}

TEST_F(ConfigSheetTest, TheRealPagesAreMadeForEveryEntry) {
  ConfigSheet sheet;
  for (int i = 0; i < config::kPageCount; ++i) {
    sheet.ShowPage(i);
    EXPECT_NE(sheet.Page(i), nullptr) << i;
  }
  sheet.reject();
}

}  // namespace
}  // namespace fluxo::test
