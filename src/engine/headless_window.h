#pragma once
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "engine/saver_window.h"
#include "platform/gdi/presented_surface.h"

namespace fluxo {

// A saver window without a display: an offscreen surface on a virtual screen
// of the same size, paced by a virtual refresh. Input ends it as the
// framework's default procedure would.
class HeadlessWindow : public SaverWindow {
 public:
  HeadlessWindow(int width, int height, std::vector<std::string> commandLine, bool paced = true);
  ~HeadlessWindow() override;

  int ClientWidth() const override { return parts_->surface->Width(); }
  int ClientHeight() const override { return parts_->surface->Height(); }
  int ScreenWidth() const override { return parts_->surface->Width(); }
  int ScreenHeight() const override { return parts_->surface->Height(); }
  gdi::FrameSurface& Surface() override { return *parts_->surface; }
  std::shared_ptr<gdi::PresentedSurface> SurfaceOwner() override { return parts_; }
  void Beep() override { ++beeps_; }
  void DestroyNow() override;
  void PostQuit(int exitCode) override;
  void InvalidateWithErase() override {}
  void RedrawDesktop() override {}
  std::vector<std::string> CommandLine() const override { return commandLine_; }
  intptr_t DefaultProc(SaverMessage message, uintptr_t wParam, intptr_t lParam) override;

  // Sends create and the first erase-background; false when creation failed.
  bool Open();
  // Sends destroy once.
  void Close();
  bool Closed() const { return closed_.load(); }
  int ExitCode() const { return exitCode_.load(); }
  int Beeps() const { return beeps_.load(); }
  gdi::FrameExchange& Exchange() { return parts_->exchange; }

 private:
  std::shared_ptr<gdi::PresentedSurface> parts_;
  std::vector<std::string> commandLine_;
  std::atomic<bool> created_{false};
  std::atomic<bool> closed_{false};
  std::atomic<int> exitCode_{0};
  std::atomic<int> beeps_{0};
};

}  // namespace fluxo
