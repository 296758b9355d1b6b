#pragma once
#include <cstdint>

#include "modules/builtin_modules.h"

namespace fluxo {

extern const ModuleOperations kPatternOperations;

namespace pattern {
// The palette index the current picture's generator gives pixel (x, y), the
// way the rings read it (rings show it upside down).
uint8_t ValueAt(int x, int y);
}  // namespace pattern

}  // namespace fluxo
