#include "engine/headless_window.h"

namespace fluxo {

HeadlessWindow::HeadlessWindow(int width, int height, std::vector<std::string> commandLine, bool paced)
    : surface_(width, height), commandLine_(std::move(commandLine)) {
  if (paced) clock_ = std::make_unique<gdi::RefreshClock>(60.0);
  surface_.AttachPresentation(&exchange_, clock_.get());
}

HeadlessWindow::~HeadlessWindow() { Close(); }

bool HeadlessWindow::Open() {
  if (ScreenSaverProc(this, SaverMessage::Create, 0, 0) == -1) {
    closed_.store(true);
    return false;
  }
  created_.store(true);
  ScreenSaverProc(this, SaverMessage::EraseBackground, 0, 0);
  return true;
}

void HeadlessWindow::Close() {
  if (!created_.load() || closed_.exchange(true)) return;
  ScreenSaverProc(this, SaverMessage::Destroy, 0, 0);
  if (clock_) clock_->Stop();
}

void HeadlessWindow::DestroyNow() { Close(); }

void HeadlessWindow::PostQuit(int exitCode) { exitCode_.store(exitCode); }

intptr_t HeadlessWindow::DefaultProc(SaverMessage message, uintptr_t, intptr_t) {
  switch (message) {
    case SaverMessage::KeyDown:
    case SaverMessage::SysKeyDown:
    case SaverMessage::LeftButtonDown:
    case SaverMessage::RightButtonDown:
    case SaverMessage::MiddleButtonDown:
    case SaverMessage::MouseMove:
    case SaverMessage::Close:
      Close();
      return 0;
    default:
      return 0;
  }
}

}  // namespace fluxo
