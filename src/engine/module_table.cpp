#include <cstring>
#include <strings.h>

#include "engine/module_registry.h"

namespace fluxo {
namespace {
ModuleTable g_modules;
}

const char* const kModuleNames[kModuleCount] = {
    "Bezier", "Cyclic", "Pattern", "Plasma", "Polygon", "Sphere", "Stain",   "Star",      "Vortex", "Ray",
    "Whip",   "Flow",   "Line",    "Squiggle", "Effect", "Bitmap", "PlugIn", "Sequencer", "Random"};

ModuleTable& Modules() { return g_modules; }

void ClearModuleTable() {
  std::memset(static_cast<void*>(g_modules.slots.data()), 0, sizeof(ModuleSlot) * kModuleCount);
  for (auto& flag : g_modules.active) flag.store(0, std::memory_order_relaxed);
}

int ModuleIndexOf(const char* name) {
  for (int i = 0; i < kModuleCount; ++i)
    if (strcasecmp(name, kModuleNames[i]) == 0) return i;
  return -1;
}

int32_t NoOpModuleOperation(ModuleSlot*) { return 0; }

bool HasOperations(const ModuleSlot& slot) {
  return slot.frame && slot.allocate && slot.initialise && slot.free;
}

void InstallModuleOperations(int index, FluxoModuleOperation frame, FluxoModuleOperation allocate,
                             FluxoModuleOperation initialise, FluxoModuleOperation free) {
  ModuleSlot& slot = g_modules.slots[index];
  slot.frame = frame;
  slot.allocate = allocate;
  slot.initialise = initialise;
  slot.free = free;
  slot.about = nullptr;
  slot.recordTable = g_modules.slots.data();
}

}  // namespace fluxo
