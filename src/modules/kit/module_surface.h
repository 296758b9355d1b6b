#pragma once
#include "fluxo/module_slot.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::kit {

// The surface a module draws into: the render thread stores it in every slot.
inline gdi::FrameSurface& ModuleSurface(const FluxoModuleSlot& slot) {
  return *static_cast<gdi::FrameSurface*>(slot.dc);
}

}  // namespace fluxo::kit
