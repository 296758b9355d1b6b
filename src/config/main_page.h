#pragma once
#include "config/config_page.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSlider;

namespace fluxo::config {

class PreviewPane;

// "Main Settings": the display the saver plays, animation speed, how long a
// display's title shows, and the quick preview that follows every change.
class MainPage : public ConfigPage {
  Q_OBJECT
 public:
  explicit MainPage(ConfigSession& session);

  void SetActive() override;
  void ReadControls() override;
  void KillActive() override;
  void Apply() override;
  void QueryCancel() override;

 private:
  void ShowSettings();
  void ShowAdvice();
  void DisplayChosen(int index);
  void QuickPreviewClicked(bool checked);
  bool ReadShowNameEdit();  // true when the typed number changed the setting
  void ArmPreview();
  void StopPreview();

  QComboBox* displays_;
  QSlider* speed_;
  QSlider* showName_;
  QLineEdit* showNameEdit_;
  QCheckBox* quickPreview_;
  PreviewPane* preview_;
  QLabel* advice_;
  bool choosing_ = false;  // a display chosen here: the list needs no refill
};

}  // namespace fluxo::config
