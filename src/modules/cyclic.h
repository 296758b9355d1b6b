#pragma once
#include "modules/builtin_modules.h"

namespace fluxo {
extern const ModuleOperations kCyclicOperations;
}
