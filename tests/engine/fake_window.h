#pragma once
#include <vector>

#include "engine/saver_window.h"

namespace fluxo::test {

// A saver window that records what the driver asks of the framework.
class FakeWindow : public SaverWindow {
 public:
  explicit FakeWindow(int width = 64, int height = 48, int screenWidth = 64, int screenHeight = 48)
      : parts_(std::make_shared<gdi::PresentedSurface>()), screenWidth_(screenWidth), screenHeight_(screenHeight) {
    parts_->Create(std::make_unique<gdi::FrameSurface>(width, height), nullptr);
  }

  int ClientWidth() const override { return parts_->surface->Width(); }
  int ClientHeight() const override { return parts_->surface->Height(); }
  int ScreenWidth() const override { return screenWidth_; }
  int ScreenHeight() const override { return screenHeight_; }
  gdi::FrameSurface& Surface() override { return *parts_->surface; }
  std::shared_ptr<gdi::PresentedSurface> SurfaceOwner() override { return parts_; }
  void Beep() override { ++beeps; }
  void DestroyNow() override { ++destroyedNow; }
  void PostQuit(int exitCode) override { quitCode = exitCode; }
  void InvalidateWithErase() override { ++invalidated; }
  void RedrawDesktop() override { ++desktopRedraws; }
  std::vector<std::string> CommandLine() const override { return commandLine; }
  intptr_t DefaultProc(SaverMessage message, uintptr_t, intptr_t) override {
    passedOn.push_back(message);
    return 7;  // recognisable result of the default procedure
  }

  std::vector<std::string> commandLine{"fluxo", "/s"};
  std::vector<SaverMessage> passedOn;
  int beeps = 0;
  int destroyedNow = 0;
  int invalidated = 0;
  int desktopRedraws = 0;
  int quitCode = -1;

 private:
  std::shared_ptr<gdi::PresentedSurface> parts_;
  int screenWidth_;
  int screenHeight_;
};

}  // namespace fluxo::test
