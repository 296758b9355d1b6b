#pragma once
#include <QTimer>

#include "config/config_page.h"

class QCheckBox;
class QLabel;
class QSlider;

namespace fluxo::config {

// "Sound": how the saver follows the companion's sound analysis, and the
// companion's state.
class SoundPage : public ConfigPage {
  Q_OBJECT
 public:
  explicit SoundPage(ConfigSession& session);

  void SetActive() override;
  void ReadControls() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void ShowSettings();
  void ShowSoundStatus();

  QCheckBox* turbo_;
  QCheckBox* autoGain_;
  QCheckBox* showInfo_;
  QCheckBox* autoRun_;
  QSlider* homing_;
  QLabel* status_;
  // The companion may be started (or end) while the page is shown.
  QTimer statusTimer_;
};

}  // namespace fluxo::config
