#pragma once
#include <vector>

#include "engine/saver_window.h"

namespace fluxo::test {

// A saver window that records what the driver asks of the framework.
class FakeWindow : public SaverWindow {
 public:
  explicit FakeWindow(int width = 64, int height = 48, int screenWidth = 64, int screenHeight = 48)
      : surface_(width, height), screenWidth_(screenWidth), screenHeight_(screenHeight) {}

  int ClientWidth() const override { return surface_.Width(); }
  int ClientHeight() const override { return surface_.Height(); }
  int ScreenWidth() const override { return screenWidth_; }
  int ScreenHeight() const override { return screenHeight_; }
  gdi::FrameSurface& Surface() override { return surface_; }
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
  gdi::FrameSurface surface_;
  int screenWidth_;
  int screenHeight_;
};

}  // namespace fluxo::test
