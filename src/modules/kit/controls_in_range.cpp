#include "modules/kit/controls_in_range.h"

#include <algorithm>
#include <cmath>

namespace fluxo::kit {
namespace {

bool IsLiveControl(const ControlBlock& c, int index) {
  return c.soundCapable[index] != 0 && IsLiveSource(c.source[index]);
}

}  // namespace

int32_t ControlInRange(const ModuleSlot& slot, int index) {
  const ControlBlock& c = slot.controls;
  return std::clamp(c.value[index], c.minValue[index], std::max(c.minValue[index], c.maxValue[index]));
}

bool EvaluateLiveControlInRange(ModuleSlot& slot, int index, int32_t& working) {
  int32_t value = 0;
  if (!EvaluateLiveControl(slot, index, value)) return false;
  const ControlBlock& c = slot.controls;
  working = std::clamp(value, c.minValue[index], std::max(c.minValue[index], c.maxValue[index]));
  return true;
}

std::optional<float> EvaluateLiveControlFraction(ModuleSlot& slot, int index) {
  ControlBlock& c = slot.controls;
  if (!IsLiveControl(c, index)) return std::nullopt;
  const float value = EvaluateSource(c.source[index], c.drift[index], static_cast<float>(c.sense[index]),
                                     static_cast<float>(c.rangeLo[index]), static_cast<float>(c.rangeHi[index]));
  const float lo = static_cast<float>(c.minValue[index]);
  const float hi = std::max(lo, static_cast<float>(c.maxValue[index]));
  return std::isnan(value) ? lo : std::clamp(value, lo, hi);
}

}  // namespace fluxo::kit
