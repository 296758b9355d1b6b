#pragma once
#include <cstdint>
#include <span>

#include "modules/builtin_modules.h"

namespace fluxo {

extern const ModuleOperations kRayOperations;

namespace ray {
// The perimeter table the rings show, 2 x (width + height) palette indices.
std::span<const uint8_t> PerimeterTable();
}  // namespace ray

}  // namespace fluxo
