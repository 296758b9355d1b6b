#pragma once
#include "controls/controls.h"
#include "platform/registry/registry.h"

namespace fluxo {

// "Path" and "PluginPath" of a module key (260 bytes each; missing or longer: "").
void ReadModulePaths(ModuleSlot& slot, const reg::Key& moduleKey);
// Reads a module key into a record: for every defined control, its value, range ends, source and sense, each falling back
// to the definition when missing. Does not clamp.
void ReadModuleControls(ModuleSlot& slot, const reg::Key& moduleKey);
// Writes what differs from the definition: "Check" for every defined control,
// then "Control" (fixed source) or the range ends that differ and "Sense".
long WriteModuleControls(const ModuleSlot& slot, const reg::Key& moduleKey);

}  // namespace fluxo
