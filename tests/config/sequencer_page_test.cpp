#include "config/sequencer_page.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <cstring>
#include <memory>

#include "config/config_session.h"
#include "settings/display_fixture.h"
#include "support/test_environment.h"
#include "config/widget_lookup.h"

namespace fluxo::test {
namespace {

using config::ConfigSession;
using config::SequencerPage;

using Rows = std::vector<std::array<QString, 3>>;

SequenceItem Item(const char* name, uint32_t seconds, uint32_t clearFirst) {
  SequenceItem item;
  std::strncpy(item.name, name, sizeof item.name - 1);
  item.seconds = seconds;
  item.clearFirst = clearFirst;
  return item;
}

class SequencerPageTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    Main().preview = 0;
    session.SetChildProgram("/bin/sh", {"-c", "exec sleep 30", "saver"});
    StoreDisplay("Alpha", kModuleBezier);
    StoreDisplay("Beta", kModulePlasma);
    StoreDisplay("Gamma", kModuleStar);
    StoreDisplay("Shuffle", kModuleRandom);
    CurrentSequence().items = {Item("Alpha", 5, 1)};
    StoreDisplay("Show", kModuleSequencer);
    CurrentSequence() = SequenceList{};
  }
  void TearDown() override {
    page.reset();
    DisplayTest::TearDown();
  }

  static void StoreDisplay(const char* name, int module) {
    ActivateOnly(module);
    SaveCurrentDisplay(name);
  }

  void OpenPage() {
    page = std::make_unique<SequencerPage>(session);
    page->SetActive();
  }

  template <typename Widget>
  Widget* Find(int id) {
    return FindWidget<Widget>(page.get(), id);
  }
  QListWidget* Available() { return Find<QListWidget>(1019); }
  QTreeWidget* Items() { return Find<QTreeWidget>(1018); }
  void Click(int id) { Find<QPushButton>(id)->click(); }
  bool Enabled(int id) { return Find<QPushButton>(id)->isEnabled(); }
  void PickAvailable(const QString& name) {
    const auto found = Available()->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    Available()->setCurrentItem(found.first());
  }
  void PickRow(int row) { Items()->setCurrentItem(Items()->topLevelItem(row)); }
  Rows ShownRows() {
    Rows rows;
    for (int i = 0; i < Items()->topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = Items()->topLevelItem(i);
      rows.push_back({item->text(0), item->text(1), item->text(2)});
    }
    return rows;
  }
  static std::string Text(const std::string& path, const std::string& name) {
    std::string text;
    EXPECT_TRUE(ReadText(OpenKey(path), name, text)) << name;
    return text;
  }

  ConfigSession session;
  std::unique_ptr<SequencerPage> page;
};

TEST_F(SequencerPageTest, OffersOnlyDisplaysThatCanBeItems) {
  OpenPage();
  QStringList offered;
  for (int i = 0; i < Available()->count(); ++i) offered << Available()->item(i)->text();
  EXPECT_EQ(offered, QStringList({"Alpha", "Beta", "Gamma"}));

  // "All -->" takes exactly those, with the typed seconds and the clear flag.
  Find<QLineEdit>(1027)->setText("7");
  Click(3);
  EXPECT_EQ(ShownRows(), (Rows{{"Alpha", "7", "Y"}, {"Beta", "7", "Y"}, {"Gamma", "7", "Y"}}));
}

TEST_F(SequencerPageTest, ItemsRoundTripThroughTheStore) {
  ActivateOnly(kModuleSequencer);  // the edited display is a sequence
  OpenPage();
  EXPECT_EQ(Find<QLineEdit>(1027)->text(), "16");
  EXPECT_TRUE(Find<QCheckBox>(1036)->isChecked());

  PickAvailable("Gamma");
  Click(1020);  // Gamma 16 Y
  Find<QLineEdit>(1027)->setText("30");
  Find<QCheckBox>(1036)->click();
  PickAvailable("Alpha");
  Click(1020);  // Alpha 30 N
  Find<QLineEdit>(1027)->setText("4");
  Click(3);  // Alpha, Beta, Gamma 4 N
  PickRow(1);
  Click(1340);  // Alpha up: Alpha, Gamma, ...
  PickRow(4);
  Click(1341);  // the last row stays last
  PickRow(2);
  Click(1021);  // Alpha (4) out
  Find<QCheckBox>(1029)->click();
  const Rows expected{{"Alpha", "30", "N"}, {"Gamma", "16", "Y"}, {"Beta", "4", "N"}, {"Gamma", "4", "N"}};
  ASSERT_EQ(ShownRows(), expected);
  EXPECT_TRUE(session.ConfigDirty());

  page->Apply();
  const std::string key = ModuleKey("Scratch", "Sequencer");
  EXPECT_EQ(Number(key, "SeqItems"), 4);
  EXPECT_EQ(Number(key, "OrderedPlay"), 1);
  for (size_t i = 0; i < expected.size(); ++i) {
    const std::string index = std::to_string(i);
    EXPECT_EQ(Text(key, index), expected[i][0].toStdString());
    EXPECT_EQ(Number(key, ("T" + index).c_str()), expected[i][1].toInt());
    EXPECT_EQ(Number(key, ("C" + index).c_str()), expected[i][2] == "Y" ? 1 : 0);
  }

  // Loading the stored display and showing the page again gives the same rows.
  CurrentSequence() = SequenceList{};
  ASSERT_EQ(LoadDisplay("Scratch"), 1);
  page = std::make_unique<SequencerPage>(session);
  page->SetActive();
  EXPECT_EQ(ShownRows(), expected);
  EXPECT_TRUE(Find<QCheckBox>(1029)->isChecked());
}

TEST_F(SequencerPageTest, NoRowsKeepTheStoredItems) {
  CurrentSequence().items = {Item("Beta", 9, 0), Item("Alpha", 3, 1)};
  CurrentSequence().orderedPlay = 1;
  ActivateOnly(kModuleSequencer);
  OpenPage();
  EXPECT_EQ(ShownRows(), (Rows{{"Beta", "9", "N"}, {"Alpha", "3", "Y"}}));
  Click(4);  // "<-- All"
  EXPECT_TRUE(ShownRows().empty());
  page->KillActive();
  ASSERT_EQ(CurrentSequence().items.size(), 2u);
  EXPECT_STREQ(CurrentSequence().items[0].name, "Beta");
  page->Apply();
  EXPECT_EQ(Number(ModuleKey("Scratch", "Sequencer"), "SeqItems"), 2);
  page->SetActive();
  EXPECT_EQ(ShownRows().size(), 2u) << "the stored items come back";
}

TEST_F(SequencerPageTest, ButtonsFollowTheSelections) {
  OpenPage();
  for (int id : {1020, 1021, 1340, 1341}) EXPECT_FALSE(Enabled(id)) << id;
  PickAvailable("Beta");
  EXPECT_TRUE(Enabled(1020));
  EXPECT_FALSE(Enabled(1021));
  Click(1020);
  Click(1020);
  for (int id : {1021, 1340, 1341}) EXPECT_FALSE(Enabled(id)) << id;
  PickRow(0);
  for (int id : {1021, 1340, 1341}) EXPECT_TRUE(Enabled(id)) << id;
  EXPECT_TRUE(Available()->selectedItems().isEmpty()) << "a row's selection clears the available one";
  EXPECT_FALSE(Enabled(1020));
  Click(1341);
  EXPECT_EQ(Items()->indexOfTopLevelItem(Items()->selectedItems().value(0)), 1) << "the moved row stays selected";
  EXPECT_TRUE(Enabled(1340));
  Click(1021);
  for (int id : {1021, 1340, 1341}) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_EQ(ShownRows().size(), 1u);
}

TEST_F(SequencerPageTest, TestingPlaysTheSequenceAlone) {
  ActivateOnly(kModuleBezier);
  OpenPage();
  PickAvailable("Gamma");
  Click(1020);
  Click(1085);
  EXPECT_TRUE(session.TestPending());
  EXPECT_EQ(Number(ModuleKey(kTestingDisplay, "Sequencer"), "SeqItems"), 1);
  EXPECT_EQ(Text(ModuleKey(kTestingDisplay, "Sequencer"), "0"), "Gamma");
  EXPECT_FALSE(DisplayHasModule(kTestingDisplay, "Bezier"));
  EXPECT_TRUE(IsActive(kModuleBezier) && !IsActive(kModuleSequencer)) << "the edited display is unchanged";
  session.EndTest();
}

TEST_F(SequencerPageTest, QuickPreviewPlaysThePickedDisplay) {
  const QString args = QString::fromStdString(TestHome()) + "/preview-args";
  QFile::remove(args);
  session.SetChildProgram("/bin/sh", {"-c", "echo \"$@\" > '" + args + "'; exec sleep 30", "saver"});
  Main().preview = 1;
  OpenPage();
  EXPECT_TRUE(Find<QCheckBox>(1323)->isChecked());
  PickAvailable("Beta");
  EXPECT_EQ(page->findChild<QLabel*>("id1024")->text(), "Beta");
  QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(args) && QFile(args).size() > 0, 5000);
  QFile file(args);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("--display Beta"));

  Find<QCheckBox>(1323)->click();
  EXPECT_EQ(Main().preview, 0u);
}

TEST_F(SequencerPageTest, APickedNameShowsAsTyped) {
  const QString name = "<i>Gamma</i>";
  ActivateOnly(kModuleBezier);
  SaveCurrentDisplay(name.toUtf8().constData());
  OpenPage();
  PickAvailable(name);
  auto* label = page->findChild<QLabel*>("id1024");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), name);
  // Shown as markup it would be the narrower italic "Gamma".
  EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(name));
}

TEST_F(SequencerPageTest, ADisplayDeletedBehindThePageDoesNotBecomeAnItem) {
  OpenPage();
  DeleteDisplay("Beta");
  PickAvailable("Beta");
  Click(1020);
  EXPECT_TRUE(ShownRows().empty());
  EXPECT_TRUE(Available()->findItems("Beta", Qt::MatchExactly).isEmpty()) << "the list learns it";

  DeleteDisplay("Gamma");
  Click(3);  // "All -->"
  EXPECT_EQ(ShownRows(), (Rows{{"Alpha", "16", "Y"}}));
}

}  // namespace
}  // namespace fluxo::test
