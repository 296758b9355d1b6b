#include "engine/headless_window.h"

namespace fluxo {

HeadlessWindow::HeadlessWindow(int width, int height, std::vector<std::string> commandLine, bool paced)
    : parts_(std::make_shared<gdi::PresentedSurface>()), commandLine_(std::move(commandLine)) {
  parts_->Create(std::make_unique<gdi::FrameSurface>(width, height),
                 paced ? std::make_unique<gdi::RefreshClock>(60.0) : nullptr);
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
  parts_->StopClock();
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
