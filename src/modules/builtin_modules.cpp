#include "modules/builtin_modules.h"

#include "engine/module_registry.h"
#include "modules/bezier.h"
#include "modules/effect.h"
#include "modules/polygon.h"
#include "modules/sphere.h"

namespace fluxo {

const ModuleOperations* BuiltinModuleOperations(int index) {
  switch (index) {
    case kModuleBezier:
      return &kBezierOperations;
    case kModulePolygon:
      return &kPolygonOperations;
    case kModuleSphere:
      return &kSphereOperations;
    case kModuleEffect:
      return &kEffectOperations;
    default:
      return nullptr;
  }
}

}  // namespace fluxo
