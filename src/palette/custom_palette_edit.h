#pragma once
#include <cstdint>

#include "palette/palette_engine.h"

namespace fluxo {

// The custom palette editor's state: which entries the operations touch,
// which are protected, and the copy the last operation can be undone to.
// Colour operations change only selected entries that are not stencilled,
// and only the channels that are not masked.
struct CustomPaletteEditor {
  int32_t selected[kPaletteEntries] = {};
  int32_t stencilled[kPaletteEntries] = {};
  PaletteEntry undoEntries[kPaletteEntries] = {};
  int32_t maskRed = 0, maskGreen = 0, maskBlue = 0;
  // A mouse selection in progress.
  int32_t anchor = 0, cursorEntry = 0, dragging = 0;
  // The source run of "Copy To"/"Merge To", waiting for its destination.
  int32_t copyFrom = 0, copyTo = 0, copyPending = 0, mergePending = 0;
  // Slider positions when the current drag started; red < 0: no drag.
  float sliderRefRed = -1.0f, sliderRefGreen = -1.0f, sliderRefBlue = -1.0f;
};

// Start of an editing session: undo copy = entries, nothing stencilled,
// entry 0 selected, no drag.
void ResetEditor(CustomPaletteEditor& editor, const PaletteEntry* entries);

// Index of the first / last set flag of 236, -1 if none.
int FirstSelected(const int32_t* flags);
int LastSelected(const int32_t* flags);

// Selects exactly the entries between the two (inclusive, either order).
void SelectRun(CustomPaletteEditor& editor, int from, int to);
void TakeUndoCopy(CustomPaletteEditor& editor, const PaletteEntry* entries);

// The colour operations; each takes the undo copy first.
void RandomWalkEntries(CustomPaletteEditor& editor, PaletteEntry* entries);
void GradientEntries(CustomPaletteEditor& editor, PaletteEntry* entries);
void NegateEntries(CustomPaletteEditor& editor, PaletteEntry* entries);
void ReverseEntries(CustomPaletteEditor& editor, PaletteEntry* entries);
void SmoothEntries(CustomPaletteEditor& editor, PaletteEntry* entries);
void ShiftChannels(CustomPaletteEditor& editor, PaletteEntry* entries);
void RoughenEntries(CustomPaletteEditor& editor, PaletteEntry* entries);

// "Copy To"/"Merge To": remembers the selection as the source and takes the
// undo copy; the next mouse selection receives it (ApplyPendingCopy).
void BeginCopy(CustomPaletteEditor& editor, const PaletteEntry* entries, bool merge);
// The source run from the undo copy, stretched over the selection; merging
// averages it with what is there.
void CopyEntries(CustomPaletteEditor& editor, PaletteEntry* entries);
void MergeEntries(CustomPaletteEditor& editor, PaletteEntry* entries);
// Runs a waiting copy or merge onto the current selection; true if one ran.
bool ApplyPendingCopy(CustomPaletteEditor& editor, PaletteEntry* entries);

// A slider drag starts with the sliders at these positions (0..255): the
// undo copy is taken and the positions become the references.
void BeginSliderDrag(CustomPaletteEditor& editor, const PaletteEntry* entries, int red, int green, int blue);
// The sliders stand at these positions; a drag not yet begun begins here.
// One selected entry takes the values; a run is scaled from the undo copy
// by position / reference (a reference of 0 keeps the colour).
void SliderMoved(CustomPaletteEditor& editor, PaletteEntry* entries, int red, int green, int blue);
void EndSliderDrag(CustomPaletteEditor& editor);

// "&Undo": a second one redoes.
void SwapUndo(CustomPaletteEditor& editor, PaletteEntry* entries);

void StencilSelected(CustomPaletteEditor& editor, bool stencil);

}  // namespace fluxo
