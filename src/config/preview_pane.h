#pragma once
#include <QProcess>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace fluxo::config {

class ConfigSession;

// The live preview of the Main and Sequencer pages (id 1329): a black pane
// that a child saver ("fluxo /p <window id>") draws into.
class PreviewPane : public QWidget {
  Q_OBJECT
 public:
  PreviewPane(ConfigSession& session, QWidget* parent = nullptr);
  ~PreviewPane() override;  // stops the preview

  // Writes the main settings and starts the child. A display name is handed
  // to the child on its command line, so "Active" is never rewritten for it.
  void StartPreview(const QString& displayName = {});
  // Asks the child to close; after 1000 ms it is ended (with a beep).
  void StopPreview();
  bool PreviewRunning() const { return child_ && child_->state() != QProcess::NotRunning; }

  // When "Allow Quick Preview" is set, (re)starts the 250 ms timer whose
  // expiry emits PreviewDue, so the preview follows the last change.
  void ArmPreviewTimer();
  void StopPreviewTimer() { timer_.stop(); }

 Q_SIGNALS:
  void PreviewDue();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ConfigSession& session_;
  QTimer timer_;
  std::unique_ptr<QProcess> child_;
};

}  // namespace fluxo::config
