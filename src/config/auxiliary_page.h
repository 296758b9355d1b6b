#pragma once
#include "config/config_page.h"

class QButtonGroup;
class QLineEdit;
class QSlider;

namespace fluxo::config {

// "Auxiliary Settings": when the screen goes blank, when the password is
// asked for, and how much of the processor the saver takes.
class AuxiliaryPage : public ConfigPage {
  Q_OBJECT
 public:
  explicit AuxiliaryPage(ConfigSession& session);

  void SetActive() override;
  void ReadControls() override;

 private:
  void ShowSettings();
  void ShowBlankTimeout(int minutes);

  QSlider* blank_;
  QLineEdit* blankEdit_;
  QSlider* grace_;
  QLineEdit* graceEdit_;
  QButtonGroup* priority_;
};

}  // namespace fluxo::config
