#pragma once
#include <cstdint>

#include "modules/builtin_modules.h"

namespace fluxo {

extern const ModuleOperations kStainOperations;

namespace stain {
// The palette index generator `generator` of the current picture gives pixel
// (x, y), the way the rings read it (rings show it upside down).
uint8_t ValueAt(int generator, int x, int y);
}  // namespace stain

}  // namespace fluxo
