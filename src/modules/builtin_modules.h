#pragma once
#include "fluxo/module_slot.h"

namespace fluxo {

struct ModuleOperations {
  FluxoModuleOperation frame;
  FluxoModuleOperation allocate;
  FluxoModuleOperation initialise;
  FluxoModuleOperation free;
};

// The operations of the built-in module at `index`, or null for a module that
// has none (PlugIn, Sequencer, and modules not built yet).
const ModuleOperations* BuiltinModuleOperations(int index);

}  // namespace fluxo
