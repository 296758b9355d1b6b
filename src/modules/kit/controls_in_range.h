#pragma once
#include <cstdint>
#include <optional>

#include "controls/controls.h"

namespace fluxo::kit {

// Control values as a module takes them: kept inside the control's range. A
// sound level far over its scale evaluates far past the range, and counts or
// divisors beyond it would stall a module or divide by zero.
int32_t ControlInRange(const ModuleSlot& slot, int index);

// EvaluateLiveControl with the result kept inside the control's range.
bool EvaluateLiveControlInRange(ModuleSlot& slot, int index, int32_t& working);

// The same without truncation, for controls whose fraction matters; empty
// when the control is not live.
std::optional<float> EvaluateLiveControlFraction(ModuleSlot& slot, int index);

}  // namespace fluxo::kit
