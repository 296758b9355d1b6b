#pragma once
#include <array>
#include <atomic>
#include <cstdint>

#include "controls/controls.h"
#include "fluxo/module_slot.h"

namespace fluxo {

constexpr int kModuleCount = FLUXO_MODULE_COUNT;

enum ModuleIndex : int {
  kModuleBezier = 0,
  kModuleCyclic,
  kModulePattern,
  kModulePlasma,
  kModulePolygon,
  kModuleSphere,
  kModuleStain,
  kModuleStar,
  kModuleVortex,
  kModuleRay,
  kModuleWhip,
  kModuleFlow,
  kModuleLine,
  kModuleSquiggle,
  kModuleEffect,
  kModuleBitmap,
  kModulePlugIn,
  kModuleSequencer,
  kModuleRandom,
};

extern const char* const kModuleNames[kModuleCount];

// The fixed table of module records and the flags of the running display.
// The Tab key toggles a flag from the window thread, so the flags are atomic.
struct ModuleTable {
  alignas(8) std::array<ModuleSlot, kModuleCount> slots{};
  std::array<std::atomic<int32_t>, kModuleCount> active{};
};

ModuleTable& Modules();
inline ModuleSlot& Slot(int index) { return Modules().slots[index]; }
inline bool IsActive(int index) { return Modules().active[index].load(std::memory_order_relaxed) != 0; }
inline void SetActive(int index, bool on) { Modules().active[index].store(on ? 1 : 0, std::memory_order_relaxed); }

// Clears every record and flag (the render thread and the dialog start this way).
void ClearModuleTable();
// Index of a module name, case-insensitive; -1 when unknown.
int ModuleIndexOf(const char* name);

int32_t NoOpModuleOperation(ModuleSlot* slot);
bool HasOperations(const ModuleSlot& slot);
void InstallModuleOperations(int index, FluxoModuleOperation frame, FluxoModuleOperation allocate,
                             FluxoModuleOperation initialise, FluxoModuleOperation free);
void InitialiseModuleRegistry();

}  // namespace fluxo
