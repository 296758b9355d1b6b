#pragma once
#include <optional>

#include "config/config_page.h"
#include "engine/video_mode.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace fluxo::config {

// "Video Mode": the screen mode the saver switches to while it runs.
class VideoPage : public ConfigPage {
  Q_OBJECT
 public:
  explicit VideoPage(ConfigSession& session);
  // A video test still pending gives back the mode stored before it.
  ~VideoPage() override;

 private:
  void FillModes();
  void ShowCurrentMode();
  std::optional<DisplayModeRecord> SelectedMode() const;
  void SetClicked();
  void ClearClicked();
  void TestClicked();
  void RestoreModeAfterTest();

  QLineEdit* current_;
  QLineEdit* stored_;
  QListWidget* modes_;
  QPushButton* set_;
  QPushButton* clear_;
  QPushButton* test_;
  QLabel* notice_;
  // "DisplayMode" as it was before a video test, for when the test ends.
  bool videoTestPending_ = false;
  std::optional<DisplayModeRecord> modeBeforeTest_;
};

}  // namespace fluxo::config
