#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/presented_surface.h"

namespace fluxo {

// The messages the saver framework forwards to ScreenSaverProc.
enum class SaverMessage {
  Create,
  Destroy,
  Activate,
  ActivateApp,
  Close,
  EraseBackground,
  KeyDown,
  SysKeyDown,
  LeftButtonDown,
  RightButtonDown,
  MiddleButtonDown,
  MouseMove,
};

// Virtual-key codes of the keys the saver knows (the platform's values).
namespace vk {
constexpr uint32_t kTab = 0x09;
constexpr uint32_t kReturn = 0x0D;
constexpr uint32_t kEscape = 0x1B;
constexpr uint32_t kSpace = 0x20;
constexpr uint32_t kLeft = 0x25;
constexpr uint32_t kUp = 0x26;
constexpr uint32_t kRight = 0x27;
constexpr uint32_t kDown = 0x28;
constexpr uint32_t kDelete = 0x2E;
constexpr uint32_t k0 = 0x30;
constexpr uint32_t k9 = 0x39;
constexpr uint32_t kA = 0x41;
constexpr uint32_t kAdd = 0x6B;       // numeric pad +
constexpr uint32_t kSubtract = 0x6D;  // numeric pad -
constexpr uint32_t kF1 = 0x70;
constexpr uint32_t kF2 = 0x71;
constexpr uint32_t kF3 = 0x72;
constexpr uint32_t kF4 = 0x73;
constexpr uint32_t kF5 = 0x74;
constexpr uint32_t kF6 = 0x75;
constexpr uint32_t kF7 = 0x76;
constexpr uint32_t kF8 = 0x77;
constexpr uint32_t kF9 = 0x78;
constexpr uint32_t kF10 = 0x79;
constexpr uint32_t kF11 = 0x7A;
constexpr uint32_t kF12 = 0x7B;
}  // namespace vk

// The saver window as the driver sees it; the Qt host and the headless
// renderer implement it. Called on the window thread unless said otherwise.
class SaverWindow {
 public:
  virtual ~SaverWindow() = default;
  virtual int ClientWidth() const = 0;
  virtual int ClientHeight() const = 0;
  virtual int ScreenWidth() const = 0;
  virtual int ScreenHeight() const = 0;
  // The window's device context; the render thread draws into it.
  virtual gdi::FrameSurface& Surface() = 0;
  // Owns the surface and its presentation; whoever holds it keeps them alive
  // (the render thread does, until it has really ended).
  virtual std::shared_ptr<gdi::PresentedSurface> SurfaceOwner() = 0;
  virtual void Beep() = 0;
  // Destroys the window at once (the grace period skips the password prompt).
  virtual void DestroyNow() = 0;
  virtual void PostQuit(int exitCode) = 0;
  virtual void InvalidateWithErase() = 0;
  // Asks the desktop to repaint everything after a full-screen run.
  virtual void RedrawDesktop() = 0;
  // The words of the command line, program name first.
  virtual std::vector<std::string> CommandLine() const = 0;
  // The framework's default saver procedure: ends the saver on input.
  virtual intptr_t DefaultProc(SaverMessage message, uintptr_t wParam, intptr_t lParam) = 0;
};

intptr_t ScreenSaverProc(SaverWindow* window, SaverMessage message, uintptr_t wParam, intptr_t lParam);

}  // namespace fluxo
