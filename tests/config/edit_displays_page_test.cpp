#include "config/edit_displays_page.h"

#include <dlfcn.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <fstream>
#include <memory>

#include "config/config_session.h"
#include "modules/plugin_fixture.h"
#include "settings/display_file.h"
#include "support/test_environment.h"
#include "config/dialog_fixture.h"
#include "config/widget_lookup.h"

namespace fluxo::test {
namespace {

using config::ConfigSession;
using config::EditDisplaysPage;

struct Question {
  QString title;
  QString text;
};

class EditDisplaysPageTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    Saver().configurationRun = true;  // sound sources stay as they are, as in the dialog
    session.SetChildProgram("/bin/sh", {"-c", "exec sleep 30", "saver"});
  }
  void TearDown() override {
    page.reset();
    Saver().configurationRun = false;
    DialogTest::TearDown();
  }

  void OpenPage() {
    page = std::make_unique<EditDisplaysPage>(session);
    page->Dialogs().askYesNo = [this](QWidget*, const QString& title, const QString& text) {
      questions.push_back({title, text});
      return answer;
    };
    page->Dialogs().warn = [this](QWidget*, const QString& title, const QString& text) {
      warnings.push_back({title, text});
    };
    page->SetActive();
  }

  template <typename Widget>
  Widget* Find(int id) {
    return FindWidget<Widget>(page.get(), id);
  }
  QComboBox* Displays() { return Find<QComboBox>(1078); }
  void ChooseDisplay(const QString& name) {
    Displays()->setCurrentIndex(Displays()->findText(name));
    Q_EMIT Displays()->activated(Displays()->currentIndex());
  }
  void Click(int id) { Find<QPushButton>(id)->click(); }
  void ClickCheck(int id) { Find<QCheckBox>(id)->click(); }
  void SaveAs(const QString& name) {
    Displays()->setEditText(name);
    Click(1080);
  }
  QStringList ListedNames() {
    QStringList names;
    for (int i = 0; i < Displays()->count(); ++i) names << Displays()->itemText(i);
    return names;
  }
  static std::vector<DisplayRecord> Stored(const std::string& name) {
    std::vector<DisplayRecord> records;
    EXPECT_TRUE(CollectDisplayRecords(DisplayKeyPath(name), records)) << name;
    return records;
  }

  ConfigSession session;
  std::unique_ptr<EditDisplaysPage> page;
  std::vector<Question> questions;
  std::vector<Question> warnings;
  bool answer = false;
};

TEST_F(EditDisplaysPageTest, ModuleChecksEditTheDisplayAndEnableSaving) {
  StoreDisplay("Alpha", kModuleBezier);
  OpenPage();
  EXPECT_FALSE(session.ConfigDirty());
  EXPECT_FALSE(Find<QPushButton>(1080)->isEnabled());

  ClickCheck(1084);  // Star
  EXPECT_TRUE(IsActive(kModuleStar));
  EXPECT_TRUE(IsActive(kModuleBezier));
  EXPECT_TRUE(session.ConfigDirty());
  EXPECT_TRUE(Find<QPushButton>(1080)->isEnabled());

  ClickCheck(1021);  // Bezier off
  EXPECT_FALSE(IsActive(kModuleBezier));
  const uint32_t clearFirst = Main().clearFirst;
  ClickCheck(1036);
  EXPECT_NE(Main().clearFirst, clearFirst);

  // Choosing a saved display loads it and the edit is no longer pending.
  ChooseDisplay("Alpha");
  EXPECT_TRUE(IsActive(kModuleBezier));
  EXPECT_FALSE(IsActive(kModuleStar));
  EXPECT_FALSE(session.ConfigDirty());
  EXPECT_FALSE(Find<QPushButton>(1080)->isEnabled());
  EXPECT_TRUE(Find<QCheckBox>(1021)->isChecked());
}

TEST_F(EditDisplaysPageTest, SavingWithoutANameStoresScratchAndMakesItActive) {
  StoreDisplay("Alpha", kModuleBezier);
  OpenPage();
  QSignalSpy changed(&session, &ConfigSession::SavedDisplaysChanged);
  ClickCheck(1061);  // Plasma
  SaveAs("");
  EXPECT_TRUE(questions.empty());
  EXPECT_TRUE(DisplayHasModule("Scratch", "Plasma"));
  EXPECT_TRUE(DisplayHasModule("Scratch", "Bezier"));
  EXPECT_EQ(ActiveDisplayName(), "Scratch");
  EXPECT_FALSE(session.ConfigDirty());
  EXPECT_GE(changed.count(), 1) << "the other saved-display lists refill";
  EXPECT_TRUE(ListedNames().contains("Scratch"));
  EXPECT_EQ(Displays()->currentText(), "Scratch");
}

TEST_F(EditDisplaysPageTest, OverwritingAnExistingDisplayAsksFirst) {
  StoreDisplay("Night", kModuleBezier, 10);
  StoreDisplay("Other", kModuleStar);
  const auto before = Stored("Night");
  OpenPage();
  ClickCheck(1061);  // Plasma joins the edited display

  answer = false;
  SaveAs("Night");
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].title, "Replace Existing Settings?");
  EXPECT_EQ(questions[0].text, "Are you sure you want to overwrite the existing settings for Night?");
  EXPECT_EQ(Stored("Night"), before);
  EXPECT_EQ(ActiveDisplayName(), "Other");
  EXPECT_TRUE(session.ConfigDirty());

  // The store's names ignore case: "night" is the same display and asks too.
  SaveAs("night");
  EXPECT_EQ(questions.size(), 2u);
  EXPECT_EQ(Stored("Night"), before);

  answer = true;
  SaveAs("Night");
  EXPECT_EQ(questions.size(), 3u);
  EXPECT_TRUE(DisplayHasModule("Night", "Plasma"));
  EXPECT_TRUE(DisplayHasModule("Night", "Star"));
  EXPECT_FALSE(DisplayHasModule("Night", "Bezier"));
  EXPECT_EQ(ActiveDisplayName(), "Night");
}

TEST_F(EditDisplaysPageTest, DeletingMakesTheFirstDisplayActive) {
  StoreDisplay("Alpha", kModulePolygon);
  StoreDisplay("Beta", kModuleStar);
  StoreDisplay("Gamma", kModuleVortex);
  OpenPage();
  ASSERT_EQ(ListedNames(), QStringList({"Alpha", "Beta", "Gamma"}));

  // A name that is not listed deletes nothing; the selected display is reloaded.
  Displays()->setEditText("Delta");
  Click(1077);
  EXPECT_EQ(ListDisplays().size(), 3u);
  EXPECT_EQ(ActiveDisplayName(), "Gamma");

  Displays()->setEditText("Alpha");
  Click(1077);
  EXPECT_FALSE(DisplayExists("Alpha"));
  EXPECT_EQ(ListedNames(), QStringList({"Beta", "Gamma"}));
  EXPECT_EQ(ActiveDisplayName(), "Beta");
  EXPECT_TRUE(IsActive(kModuleStar)) << "the first display is loaded";
  EXPECT_FALSE(IsActive(kModuleVortex));
  EXPECT_TRUE(Find<QCheckBox>(1084)->isChecked());
  EXPECT_FALSE(session.ConfigDirty());
}

TEST_F(EditDisplaysPageTest, OnlyRandomCheckedGivesARandomDisplay) {
  StoreDisplay("Alpha", kModuleBezier);
  OpenPage();
  ClickCheck(1021);  // Bezier off
  ClickCheck(1070);  // Random on
  SaveAs("Shuffle");
  for (int m = 0; m < kModuleCount; ++m)
    EXPECT_EQ(DisplayHasModule("Shuffle", kModuleNames[m]), m == kModuleRandom) << kModuleNames[m];
}

TEST_F(EditDisplaysPageTest, SyncIndicatorFollowsSoundUse) {
  auto shows = [this](const char* text) {
    page->SetActive();
    const bool sync = std::string(text) == "Sync";
    EXPECT_EQ(Find<QLabel>(1334)->text(), text);
    EXPECT_EQ(Find<QLabel>(1332)->isVisibleTo(page.get()), sync);
    EXPECT_EQ(Find<QLabel>(1333)->isVisibleTo(page.get()), !sync);
  };
  ActivateOnly(kModuleBezier);
  OpenPage();
  shows("No Sync");

  ActivateOnly(kModuleSphere);  // follows the music by itself
  shows("Sync");

  ActivateOnly(kModuleBezier);
  Controls(kModuleBezier).source[0] = kSourceVolume;
  shows("Sync");
  EXPECT_EQ(Controls(kModuleBezier).source[0], kSourceVolume) << "the dialog keeps sound sources";

  Controls(kModuleBezier).source[0] = kSourceSet;
  ActivateOnly(kModuleRandom);
  Controls(kModuleRandom).value[0] = 1;
  shows("No Sync");
  Controls(kModuleRandom).value[0] = 2;  // saved displays that react to sound
  shows("Sync");
}

TEST_F(EditDisplaysPageTest, ExportedDisplaysImportUnderTheFileName) {
  ActivateOnly(kModuleCyclic);
  Controls(kModuleCyclic).value[1] = 3;
  SaveCurrentDisplay("Night Sky");
  StoreDisplay("Other", kModuleStar);
  OpenPage();
  const QString folder = QString::fromStdString(TestHome()) + "/shows";
  ASSERT_TRUE(QDir().mkpath(folder));

  QString proposed;
  page->Dialogs().chooseExportFile = [&](QWidget*, const QString& name) {
    proposed = name;
    return folder + "/" + name + ".FLX";
  };
  // The export stores the display as edited: here the chosen one, unchanged.
  ChooseDisplay("Night Sky");
  Click(1047);
  EXPECT_EQ(proposed, "Night Sky");
  const auto exported = Stored("Night Sky");
  ASSERT_TRUE(QFileInfo::exists(folder + "/Night Sky.FLX"));

  // A name with characters a file name should not hold is proposed tamely.
  ActivateOnly(kModuleStar);
  page->SetActive();
  Displays()->setEditText("a/b:c");
  Click(1047);
  EXPECT_EQ(proposed, "a_b_c");
  EXPECT_TRUE(DisplayExists("a/b:c")) << "the export stores what it writes";

  DeleteDisplay("Night Sky");
  Q_EMIT session.SavedDisplaysChanged();
  ASSERT_FALSE(ListedNames().contains("Night Sky"));
  page->Dialogs().chooseImportFiles = [&](QWidget*) { return QStringList{folder + "/Night Sky.FLX"}; };
  Click(1054);
  EXPECT_TRUE(questions.empty());
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(Stored("Night Sky"), exported);
  EXPECT_TRUE(ListedNames().contains("Night Sky"));
  EXPECT_EQ(ActiveDisplayName(), "Night Sky");
  EXPECT_TRUE(IsActive(kModuleCyclic));
  EXPECT_EQ(Controls(kModuleCyclic).value[1], 3);

  // Importing over an existing display asks; No leaves it alone.
  ActivateOnly(kModuleStar);
  SaveCurrentDisplay("Night Sky");
  const auto replaced = Stored("Night Sky");
  answer = false;
  Click(1054);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].title, "Settings by this name already exist!");
  EXPECT_EQ(questions[0].text,
            "This will overwrite your existing settings for \"Night Sky\"\n\nDo you wish to proceed?");
  EXPECT_EQ(Stored("Night Sky"), replaced);
  answer = true;
  Click(1054);
  EXPECT_EQ(Stored("Night Sky"), exported);
}

TEST_F(EditDisplaysPageTest, ABrokenFileIsRefusedWithItsReasonAndChangesNothing) {
  StoreDisplay("Alpha", kModuleBezier);
  StoreDisplay("junk", kModuleStar);
  const auto before = Stored("junk");
  OpenPage();
  const QStringList listed = ListedNames();
  const std::string path = TestHome() + "/junk.FLX";
  std::ofstream(path, std::ios::binary) << "not a display file at all";

  QSignalSpy changed(&session, &ConfigSession::SavedDisplaysChanged);
  answer = true;
  page->Dialogs().chooseImportFiles = [&](QWidget*) { return QStringList{QString::fromStdString(path)}; };
  Click(1054);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_TRUE(warnings[0].text.contains("not a display file")) << warnings[0].text.toStdString();
  EXPECT_EQ(Stored("junk"), before);
  EXPECT_EQ(ListedNames(), listed);
  EXPECT_EQ(ActiveDisplayName(), "junk");
  EXPECT_EQ(changed.count(), 0);

  // A missing file says so as well.
  page->Dialogs().chooseImportFiles = [&](QWidget*) {
    return QStringList{QString::fromStdString(TestHome() + "/gone.FLX")};
  };
  Click(1054);
  ASSERT_EQ(warnings.size(), 2u);
  EXPECT_FALSE(DisplayExists("gone"));
  EXPECT_EQ(ListedNames(), listed);
}

TEST_F(EditDisplaysPageTest, FilesThatCannotBeWrittenOrBreakOffAreReported) {
  StoreDisplay("Dawn", kModuleFlow);
  OpenPage();
  ChooseDisplay("Dawn");
  const QString home = QString::fromStdString(TestHome());
  QString target = home + "/no such folder/Dawn.FLX";
  page->Dialogs().chooseExportFile = [&](QWidget*, const QString&) { return target; };
  Click(1047);
  ASSERT_EQ(warnings.size(), 1u) << "an export that wrote nothing says so";
  EXPECT_FALSE(QFileInfo::exists(target));

  target = home + "/Dawn.FLX";
  Click(1047);
  ASSERT_EQ(warnings.size(), 1u);
  QFile whole(target);
  ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
  const QByteArray bytes = whole.readAll();
  const QString cut = home + "/Dusk.FLX";
  QFile broken(cut);
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write(bytes.left(bytes.size() - 2));  // the last record breaks off
  broken.close();

  page->Dialogs().chooseImportFiles = [&](QWidget*) { return QStringList{cut}; };
  Click(1054);
  ASSERT_EQ(warnings.size(), 2u) << "a partial import is not passed off as a whole one";
  EXPECT_TRUE(DisplayHasModule("Dusk", "Flow")) << "what came before the break is kept";
  EXPECT_EQ(ActiveDisplayName(), "Dusk");
}

TEST_F(EditDisplaysPageTest, NamesTheStoreCannotHoldAreNotSaved) {
  OpenPage();
  ClickCheck(1021);
  SaveAs("back\\slash");
  EXPECT_EQ(warnings.size(), 1u);
  EXPECT_TRUE(ListDisplays().empty());
  EXPECT_TRUE(session.ConfigDirty()) << "the edit is still pending";
}

TEST_F(EditDisplaysPageTest, WithoutPlugInsThePlugInModuleCannotBeChosen) {
  OpenPage();
  EXPECT_FALSE(Find<QComboBox>(1079)->isEnabled());
  EXPECT_FALSE(Find<QCheckBox>(1053)->isEnabled());
  EXPECT_FALSE(Find<QPushButton>(1087)->isEnabled());
  EXPECT_FALSE(Find<QLabel>(1335)->isEnabled());
}

// The probe plug-in that the test build makes, copied alone into a plug-in
// folder of the test home.
TEST_F(EditDisplaysPageTest, ThePlugInListLoadsTheChosenLibraryForItsAboutBox) {
  const QString built = QString::fromStdString(BuiltPlugInFolder() + "/Probe.so");
  if (!QFileInfo::exists(built)) GTEST_SKIP() << "the probe plug-in is not built";
  const QString folder = QString::fromStdString(TestHome()) + "/plugins-edit";
  ASSERT_TRUE(QDir().mkpath(folder));
  QFile::remove(folder + "/Probe.so");
  ASSERT_TRUE(QFile::copy(built, folder + "/Probe.so"));
  WriteText(MakeKey(std::string("Control Panel\\") + SettingsKeyName()), "PlugInDir", folder.toStdString());

  OpenPage();
  auto* list = Find<QComboBox>(1079);
  ASSERT_TRUE(list->isEnabled());
  EXPECT_TRUE(Find<QCheckBox>(1053)->isEnabled());
  ASSERT_EQ(list->count(), 1);
  EXPECT_STREQ(Slot(kModulePlugIn).pluginPath, "Probe.so");
  ASSERT_NE(Slot(kModulePlugIn).about, nullptr) << "loaded although the PlugIn module is not running";

  void* library = dlopen((folder + "/Probe.so").toUtf8().constData(), RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(library, nullptr);
  auto results = reinterpret_cast<ProbeReport* (*)()>(dlsym(library, "ProbeResults"));
  const int32_t before = results()->aboutCalls;
  Click(1087);
  EXPECT_EQ(results()->aboutCalls, before + 1);

  Slot(kModulePlugIn).pluginPath[0] = 0;
  Q_EMIT list->activated(0);
  EXPECT_STREQ(Slot(kModulePlugIn).pluginPath, "Probe.so");
  EXPECT_TRUE(session.ConfigDirty());
  dlclose(library);
}

}  // namespace
}  // namespace fluxo::test
