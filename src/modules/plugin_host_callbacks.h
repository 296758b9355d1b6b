#pragma once
#include "fluxo/plugin.h"

namespace fluxo::plugin_callbacks {

// The six host callbacks handed to "RegisterCallbacks", in that order.
// Every index from a plug-in is checked: out of range reads and writes nothing.
uint32_t IsDrawingEnabled();
int32_t DefineControl(FluxoPlugInRecord* record, uint32_t index, const char* label, int32_t minValue, int32_t maxValue,
                      int32_t rangeLo, int32_t rangeHi, int32_t value, int32_t source, int32_t sense,
                      int32_t soundCapable);
uint32_t IsControlDynamic(FluxoPlugInRecord* record, uint32_t index);
int32_t EvaluateControl(FluxoPlugInRecord* record, uint32_t index);
double EvaluateControlReal(FluxoPlugInRecord* record, uint32_t index);
void UpdateControls(FluxoPlugInRecord* record);

// Control 9 as the host defines it for every plug-in.
void DefineStrengthControl(FluxoPlugInRecord* record);

}  // namespace fluxo::plugin_callbacks
