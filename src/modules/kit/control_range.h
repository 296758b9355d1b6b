#pragma once
#include <algorithm>
#include <cstdint>

#include "controls/controls.h"

namespace fluxo::kit {

// A control's value held to its defined range. A sound level far past its
// scale drives a control beyond its range; a module takes such a value as the
// nearest end, so no copy count, point count or pen width can run away.
inline int32_t ControlInRange(const ModuleSlot& slot, int index) {
  const ControlBlock& c = slot.controls;
  return std::clamp(c.value[index], c.minValue[index], std::max(c.minValue[index], c.maxValue[index]));
}

// EvaluateLiveControl, with the result held to the control's range.
inline bool EvaluateLiveControlInRange(ModuleSlot& slot, int index, int32_t& working) {
  int32_t value = 0;
  if (!EvaluateLiveControl(slot, index, value)) return false;
  const ControlBlock& c = slot.controls;
  working = std::clamp(value, c.minValue[index], std::max(c.minValue[index], c.maxValue[index]));
  return true;
}

}  // namespace fluxo::kit
