#include "modules/builtin_modules.h"

#include "engine/module_registry.h"
#include "engine/random_module.h"
#include "modules/bezier.h"
#include "modules/bitmap.h"
#include "modules/cyclic.h"
#include "modules/effect.h"
#include "modules/flow.h"
#include "modules/line.h"
#include "modules/pattern.h"
#include "modules/plasma.h"
#include "modules/polygon.h"
#include "modules/ray.h"
#include "modules/sphere.h"
#include "modules/squiggle.h"
#include "modules/stain.h"
#include "modules/star.h"
#include "modules/vortex.h"
#include "modules/whip.h"

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
    case kModulePattern:
      return &kPatternOperations;
    case kModulePlasma:
      return &kPlasmaOperations;
    case kModuleStain:
      return &kStainOperations;
    case kModuleRay:
      return &kRayOperations;
    case kModuleRandom:
      return &kRandomOperations;
    case kModulePolygon:
      return &kPolygonOperations;
    case kModuleSphere:
      return &kSphereOperations;
    case kModuleEffect:
      return &kEffectOperations;
    case kModuleWhip:
      return &kWhipOperations;
    case kModuleFlow:
      return &kFlowOperations;
    case kModuleLine:
      return &kLineOperations;
    case kModuleSquiggle:
      return &kSquiggleOperations;
    case kModuleBitmap:
      return &kBitmapOperations;
    default:
      return nullptr;
  }
}

}  // namespace fluxo
