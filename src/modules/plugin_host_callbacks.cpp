#include "modules/plugin_host_callbacks.h"

#include <cstdio>

#include "controls/controls.h"
#include "platform/system/saver_state.h"

namespace fluxo::plugin_callbacks {
namespace {

constexpr uint32_t kControls = FLUXO_CONTROL_COUNT;

bool Usable(const FluxoPlugInRecord* record, uint32_t index) { return record && index < kControls; }

// One evaluation by the control's source. Fixed and random controls have no
// running evaluation: their current value is the stored one.
float Evaluate(FluxoPlugInRecord* record, uint32_t index) {
  ControlBlock& c = record->controls;
  if (c.source[index] < kSourceOscillate) return static_cast<float>(c.value[index]);
  return EvaluateSource(c.source[index], c.drift[index], static_cast<float>(c.sense[index]),
                        static_cast<float>(c.rangeLo[index]), static_cast<float>(c.rangeHi[index]));
}

void Define(FluxoPlugInRecord* record, uint32_t index, const char* label, int32_t minValue, int32_t maxValue,
            int32_t rangeLo, int32_t rangeHi, int32_t value, int32_t source, int32_t sense, int32_t soundCapable) {
  ControlBlock& c = record->controls;
  std::snprintf(c.label[index], sizeof c.label[index], "%s", label ? label : "");
  c.defined[index] = 1;
  c.value[index] = value;
  c.defaultValue[index] = value;
  c.minValue[index] = minValue;
  c.maxValue[index] = maxValue;
  c.rangeLo[index] = rangeLo;
  c.rangeHi[index] = rangeHi;
  c.source[index] = source;
  c.sense[index] = sense;
  c.drift[index] = 0.5f;
  c.soundCapable[index] = soundCapable;
  record->path[0] = '\0';
}

}  // namespace

uint32_t IsDrawingEnabled() { return Saver().saverRunning.load(std::memory_order_relaxed) != 0 ? 1 : 0; }

int32_t DefineControl(FluxoPlugInRecord* record, uint32_t index, const char* label, int32_t minValue, int32_t maxValue,
                      int32_t rangeLo, int32_t rangeHi, int32_t value, int32_t source, int32_t sense,
                      int32_t soundCapable) {
  if (!Usable(record, index) || index == FLUXO_STRENGTH_CONTROL) return 0;
  Define(record, index, label, minValue, maxValue, rangeLo, rangeHi, value, source, sense, soundCapable);
  return 1;
}

uint32_t IsControlDynamic(FluxoPlugInRecord* record, uint32_t index) {
  if (!Usable(record, index)) return 0;
  return IsLiveSource(record->controls.source[index]) ? 1 : 0;
}

int32_t EvaluateControl(FluxoPlugInRecord* record, uint32_t index) {
  if (!Usable(record, index)) return 0;
  return TruncateSourceResult(Evaluate(record, index));
}

double EvaluateControlReal(FluxoPlugInRecord* record, uint32_t index) {
  if (!Usable(record, index)) return 0.0;
  return static_cast<double>(Evaluate(record, index));
}

void UpdateControls(FluxoPlugInRecord* record) {
  if (!record) return;
  RandomizeControls(*record);
  EvaluateSourcedControls(*record);
}

void DefineStrengthControl(FluxoPlugInRecord* record) {
  Define(record, FLUXO_STRENGTH_CONTROL, "Strength", -10, 10, -10, 10, 1, kSourceSet, 10, 1);
}

}  // namespace fluxo::plugin_callbacks
