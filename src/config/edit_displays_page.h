#pragma once
#include <array>

#include "config/config_page.h"
#include "config/display_file_dialogs.h"
#include "engine/module_registry.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace fluxo::config {

// "Edit Displays": which modules the edited display runs, whether the screen
// is cleared first, its plug-in, and the saved displays (select, save, delete,
// export to and import from .FLX files).
class EditDisplaysPage : public ConfigPage {
  Q_OBJECT
 public:
  explicit EditDisplaysPage(ConfigSession& session, QWidget* parent = nullptr);

  void SetActive() override;
  void ReadControls() override { ReadModuleChecks(); }

  // The questions and file choosers the commands use; tests answer them.
  DisplayFileDialogs& Dialogs() { return dialogs_; }

 private:
  void BuildControls();
  void FillPlugInList();
  void ReadModuleChecks();
  void ShowModuleChecks();
  void ShowSyncState();
  // Loads the display selected in the list and makes it "Active"; false when
  // none is selected or it is no longer stored.
  bool LoadSelectedDisplay();
  // Saved displays or "Active" changed: the pages' lists refill.
  void DisplaysChanged();

  void ModuleCheckClicked();
  void PlugInChosen(int index);
  void DisplayChosen();
  void SaveSelection();
  void DeleteSelection();
  void ExportSelection();
  void ImportDisplays();
  bool ImportDisplayFile(const QString& path, QString& name);
  void AboutPlugIn();
  void Preview();

  // The name in the display box, "Scratch" when it is empty. False, after
  // telling the user, when the store cannot hold a display of that name.
  bool EditedName(QString& name, const QString& command);

  DisplayFileDialogs dialogs_;
  std::array<QCheckBox*, kModuleCount> moduleChecks_{};
  QCheckBox* clearFirst_ = nullptr;
  QLabel* plugInLabel_ = nullptr;
  QComboBox* plugIns_ = nullptr;
  QPushButton* aboutPlugIn_ = nullptr;
  QComboBox* displays_ = nullptr;
  QPushButton* saveSelection_ = nullptr;
  QLabel* syncIcon_ = nullptr;
  QLabel* noSyncIcon_ = nullptr;
  QLabel* syncText_ = nullptr;
};

}  // namespace fluxo::config
