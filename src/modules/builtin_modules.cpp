#include "modules/builtin_modules.h"

#include "engine/module_registry.h"
#include "modules/bezier.h"
#include "modules/cyclic.h"
#include "modules/star.h"
#include "modules/vortex.h"

namespace fluxo {

const ModuleOperations* BuiltinModuleOperations(int index) {
  switch (index) {
    case kModuleBezier:
      return &kBezierOperations;
    case kModuleCyclic:
      return &kCyclicOperations;
    case kModuleStar:
      return &kStarOperations;
    case kModuleVortex:
      return &kVortexOperations;
    default:
      return nullptr;
  }
}

}  // namespace fluxo
