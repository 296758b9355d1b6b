#pragma once
#include <memory>

#include "platform/gdi/frame_exchange.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::gdi {

// A window's surface together with the exchange and clock its flush presents
// through. Windows hold it by shared pointer and so does the render thread,
// so a thread that outlives its window still draws into live memory.
struct PresentedSurface {
  FrameExchange exchange;
  std::unique_ptr<RefreshClock> clock;    // null: unpaced
  std::unique_ptr<FrameSurface> surface;  // created once the size is known

  void Create(std::unique_ptr<FrameSurface> newSurface, std::unique_ptr<RefreshClock> newClock) {
    clock = std::move(newClock);
    surface = std::move(newSurface);
    surface->AttachPresentation(&exchange, clock.get());
  }
  // Wakes a flush waiting for the next refresh, for good.
  void StopClock() {
    if (clock) clock->Stop();
  }
};

}  // namespace fluxo::gdi
