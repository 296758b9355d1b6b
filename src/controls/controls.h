#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "fluxo/module_slot.h"

namespace fluxo {

using ModuleSlot = FluxoModuleSlot;
using ControlBlock = FluxoControlBlock;
constexpr int kControlCount = FLUXO_CONTROL_COUNT;

// Source codes: the position of the name in the Source list.
enum ControlSource : int32_t {
  kSourceSet = 0,
  kSourceRandom = 1,
  kSourceOscillate = 2,
  kSourceVolume = 3,
  kSourceLeft = 4,
  kSourceRight = 5,
  kSourceFirstBand = 6,
  kSourceLastBand = 21,
};

// 2048 entries of 16382 * sin(2 pi (i + 1) / 2048), rounded; constant data.
constexpr int kSineTableSize = 2048;
extern const int32_t SineTable[kSineTableSize];

// The label text of a string-table id ("" for an unknown id).
const char* ControlLabelText(int stringId);

void DefineModuleControl(int module, int labelId, int control, int defaultValue, int minValue, int maxValue);
void DefineAllControls();                 // the 214 definitions
void MarkSoundCapableControls();          // the 97 sound-capable controls
void ResetControls(int module);
void RandomizeControls(ModuleSlot& slot);
void EvaluateSourcedControls(ModuleSlot& slot);
void ClampControls(ModuleSlot& slot);
bool IsLiveSource(int source);
bool IsLivePaletteSource(int source);
float EvaluateSource(int source, float& drift, float sense, float lo, float hi);
// Truncates an evaluation toward zero, saturating at the int32 limits (NaN gives 0).
int32_t TruncateSourceResult(float result);
// Re-evaluates control `index` of a module during play when its source is live;
// returns true and sets `working` (truncated) when it did.
bool EvaluateLiveControl(ModuleSlot& slot, int index, int32_t& working);
std::vector<std::string> FillSourceList(bool soundCapable);
void ApplySoundAvailability();

}  // namespace fluxo
