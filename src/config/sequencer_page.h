#pragma once
#include <QString>

#include "config/config_page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace fluxo::config {

class PreviewPane;

// "Sequencer": the items of the sequence a display with the Sequencer module
// plays (display, seconds, clear first) and whether they play in order, with
// a live preview of the display picked last.
class SequencerPage : public ConfigPage {
  Q_OBJECT
 public:
  explicit SequencerPage(ConfigSession& session, QWidget* parent = nullptr);

  void SetActive() override;
  // Stores the rows as the current sequence; with no rows it stays as it was.
  // Only while the page shows: once left, its rows were read, and a display
  // loaded since on another page brought a sequence of its own.
  void ReadControls() override;
  void KillActive() override;
  void Apply() override;
  void QueryCancel() override;

 private:
  void BuildControls();
  void FillAvailable();
  void ShowItems();
  void UpdateButtons();
  void AddRow(const QString& name, const QString& seconds, bool clearFirst);
  void AddSelected();
  void AddAll();
  void RemoveSelected();
  void RemoveAll();
  void MoveSelected(int step);
  void AvailableChosen();
  void RowChosen();
  void SetPreviewName(const QString& name);
  void QuickPreviewClicked();
  void PreviewDue();
  void TestSequence();

  QListWidget* available_ = nullptr;
  QTreeWidget* items_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* remove_ = nullptr;
  QPushButton* up_ = nullptr;
  QPushButton* down_ = nullptr;
  QLineEdit* seconds_ = nullptr;
  QCheckBox* clearFirst_ = nullptr;
  QCheckBox* orderedPlay_ = nullptr;
  QLabel* previewLabel_ = nullptr;
  PreviewPane* pane_ = nullptr;
  QCheckBox* quickPreview_ = nullptr;
  QString previewName_;
  bool showing_ = false;  // between SetActive and KillActive
};

}  // namespace fluxo::config
