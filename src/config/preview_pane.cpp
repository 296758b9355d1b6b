#include "config/preview_pane.h"

#include <QApplication>
#include <QPainter>

#include "config/config_session.h"
#include "settings/main_settings.h"

namespace fluxo::config {

namespace {
constexpr int kQuickPreviewMs = 250;
constexpr int kCloseWaitMs = 1000;
}  // namespace

PreviewPane::PreviewPane(ConfigSession& session, QWidget* parent) : QWidget(parent), session_(session) {
  setObjectName("id1329");
  // The child draws into this window, so it needs one of its own.
  setAttribute(Qt::WA_NativeWindow);
  setMinimumSize(160, 120);
  timer_.setSingleShot(true);
  timer_.setInterval(kQuickPreviewMs);
  connect(&timer_, &QTimer::timeout, this, &PreviewPane::PreviewDue);
}

PreviewPane::~PreviewPane() { StopPreview(); }

void PreviewPane::StartPreview(const QString& displayName) {
  SaveMainSettings();
  StopPreview();
  QStringList saverArgs{"/p", QString::number(winId())};
  if (!displayName.isEmpty()) saverArgs << "--display" << displayName;
  child_ = std::make_unique<QProcess>();
  child_->setProcessChannelMode(QProcess::ForwardedChannels);
  // A child that ends by itself (or never starts) leaves the pane black again.
  connect(child_.get(), &QProcess::stateChanged, this, [this] { update(); });
  child_->start(session_.ChildProgram(), session_.ChildArguments(saverArgs));
  update();
}

void PreviewPane::StopPreview() {
  if (!child_) return;
  child_->disconnect(this);
  if (child_->state() == QProcess::NotRunning) {
    child_.reset();
    update();
    return;
  }
  // The close message of the platform is SIGTERM here; the saver ends cleanly on it.
  child_->terminate();
  if (!child_->waitForFinished(kCloseWaitMs)) {
    QApplication::beep();
    child_->kill();
    child_->waitForFinished(kCloseWaitMs);
  }
  child_.reset();
  update();
}

void PreviewPane::ArmPreviewTimer() {
  if (Main().preview) timer_.start();
}

void PreviewPane::paintEvent(QPaintEvent*) {
  // Black while no preview runs; the child paints over it otherwise.
  if (PreviewRunning()) return;
  QPainter(this).fillRect(rect(), Qt::black);
}

}  // namespace fluxo::config
