#include "modules/builtin_modules.h"

#include "engine/module_registry.h"
#include "modules/bezier.h"
#include "modules/flow.h"
#include "modules/line.h"
#include "modules/squiggle.h"
#include "modules/whip.h"

namespace fluxo {

const ModuleOperations* BuiltinModuleOperations(int index) {
  switch (index) {
    case kModuleBezier:
      return &kBezierOperations;
    case kModuleWhip:
      return &kWhipOperations;
    case kModuleFlow:
      return &kFlowOperations;
    case kModuleLine:
      return &kLineOperations;
    case kModuleSquiggle:
      return &kSquiggleOperations;
    default:
      return nullptr;
  }
}

}  // namespace fluxo
