#include "modules/builtin_modules.h"

#include "engine/module_registry.h"
#include "engine/random_module.h"
#include "modules/bezier.h"

namespace fluxo {

const ModuleOperations* BuiltinModuleOperations(int index) {
  switch (index) {
    case kModuleBezier:
      return &kBezierOperations;
    case kModuleRandom:
      return &kRandomOperations;
    default:
      return nullptr;
  }
}

}  // namespace fluxo
