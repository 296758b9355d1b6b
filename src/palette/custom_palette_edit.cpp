#include "palette/custom_palette_edit.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/system/random.h"

namespace fluxo {
namespace {

uint8_t& Channel(PaletteEntry& entry, int ch) { return ch == 0 ? entry.red : ch == 1 ? entry.green : entry.blue; }
uint8_t Channel(const PaletteEntry& entry, int ch) { return ch == 0 ? entry.red : ch == 1 ? entry.green : entry.blue; }

bool Masked(const CustomPaletteEditor& editor, int ch) {
  return (ch == 0 ? editor.maskRed : ch == 1 ? editor.maskGreen : editor.maskBlue) != 0;
}

bool Affected(const CustomPaletteEditor& editor, int i) { return editor.selected[i] && !editor.stencilled[i]; }

// Writes the unmasked channels of `from` into `to`.
void CopyUnmasked(const CustomPaletteEditor& editor, const PaletteEntry& from, PaletteEntry& to) {
  for (int ch = 0; ch < kChannels; ++ch)
    if (!Masked(editor, ch)) Channel(to, ch) = Channel(from, ch);
}

// Copy or merge of the remembered source run onto the selection: the source
// is stretched over the destination, and a stencilled destination entry
// neither changes nor takes a source entry.
void StretchSource(CustomPaletteEditor& editor, PaletteEntry* entries, bool merge) {
  const int f = FirstSelected(editor.selected);
  const int l = LastSelected(editor.selected);
  if (f < 0) return;
  const double step = static_cast<double>(editor.copyTo - editor.copyFrom + 1) / (l - f + 1);
  double s = editor.copyFrom;
  for (int i = f; i <= l; ++i) {
    if (editor.stencilled[i]) continue;
    const int from = std::clamp(static_cast<int>(s), 0, kPaletteEntries - 1);
    const PaletteEntry& source = editor.undoEntries[from];
    for (int ch = 0; ch < kChannels; ++ch) {
      if (Masked(editor, ch)) continue;
      uint8_t& c = Channel(entries[i], ch);
      c = merge ? static_cast<uint8_t>((c + Channel(source, ch)) / 2) : Channel(source, ch);
    }
    s += step;
  }
}

}  // namespace

void ResetEditor(CustomPaletteEditor& editor, const PaletteEntry* entries) {
  editor = CustomPaletteEditor{};
  TakeUndoCopy(editor, entries);
  editor.selected[0] = 1;
}

int FirstSelected(const int32_t* flags) {
  for (int i = 0; i < kPaletteEntries; ++i)
    if (flags[i]) return i;
  return -1;
}

int LastSelected(const int32_t* flags) {
  for (int i = kPaletteEntries - 1; i >= 0; --i)
    if (flags[i]) return i;
  return -1;
}

void SelectRun(CustomPaletteEditor& editor, int from, int to) {
  if (from > to) std::swap(from, to);
  from = std::max(from, 0);
  to = std::min(to, kPaletteEntries - 1);
  for (int i = 0; i < kPaletteEntries; ++i) editor.selected[i] = i >= from && i <= to;
}

void TakeUndoCopy(CustomPaletteEditor& editor, const PaletteEntry* entries) {
  std::memcpy(editor.undoEntries, entries, sizeof editor.undoEntries);
}

void RandomWalkEntries(CustomPaletteEditor& editor, PaletteEntry* entries) {
  TakeUndoCopy(editor, entries);
  int step[kChannels];
  int value[kChannels];
  for (int& s : step) s = Rand() & 7;
  for (int& v : value) v = Rand() & 255;
  for (int i = 0; i < kPaletteEntries; ++i) {
    if (!Affected(editor, i)) continue;
    for (int ch = 0; ch < kChannels; ++ch) {
      // A step that would leave the range turns the walk back instead.
      const int next = value[ch] + step[ch];
      if (next < 0 || next > 255)
        step[ch] = -step[ch];
      else
        value[ch] = next;
      if (!Masked(editor, ch)) Channel(entries[i], ch) = static_cast<uint8_t>(value[ch]);
    }
  }
}

void GradientEntries(CustomPaletteEditor& editor, PaletteEntry* entries) {
  TakeUndoCopy(editor, entries);
  const int f = FirstSelected(editor.selected);
  const int l = LastSelected(editor.selected);
  const int n = l - f;
  if (f < 0 || n < 2) return;
  for (int t = 0; t < n; ++t) {
    const int i = f + t;
    if (editor.stencilled[i]) continue;
    for (int ch = 0; ch < kChannels; ++ch) {
      if (Masked(editor, ch)) continue;
      Channel(entries[i], ch) =
          static_cast<uint8_t>((Channel(entries[l], ch) * t + Channel(entries[f], ch) * (n - t)) / n);
    }
  }
}

void NegateEntries(CustomPaletteEditor& editor, PaletteEntry* entries) {
  TakeUndoCopy(editor, entries);
  for (int i = 0; i < kPaletteEntries; ++i) {
    if (!Affected(editor, i)) continue;
    for (int ch = 0; ch < kChannels; ++ch)
      if (!Masked(editor, ch)) Channel(entries[i], ch) = static_cast<uint8_t>(255 - Channel(entries[i], ch));
  }
}

void ReverseEntries(CustomPaletteEditor& editor, PaletteEntry* entries) {
  TakeUndoCopy(editor, entries);
  const int f = FirstSelected(editor.selected);
  const int l = LastSelected(editor.selected);
  if (f < 0) return;
  for (int k = 0; f + k < l - k; ++k) {
    const int a = f + k, b = l - k;
    // Either end stencilled keeps the pair: a swap would change the protected entry.
    if (editor.stencilled[a] || editor.stencilled[b]) continue;
    const PaletteEntry oldA = entries[a];
    CopyUnmasked(editor, entries[b], entries[a]);
    CopyUnmasked(editor, oldA, entries[b]);
  }
}

void SmoothEntries(CustomPaletteEditor& editor, PaletteEntry* entries) {
  TakeUndoCopy(editor, entries);
  for (int i = 1; i < kPaletteEntries - 1; ++i) {
    if (!Affected(editor, i)) continue;
    for (int ch = 0; ch < kChannels; ++ch) {
      if (Masked(editor, ch)) continue;
      const int sum = 3 * Channel(entries[i], ch) + Channel(entries[i - 1], ch) + Channel(entries[i + 1], ch);
      Channel(entries[i], ch) = static_cast<uint8_t>(sum / 5);
    }
  }
}

void ShiftChannels(CustomPaletteEditor& editor, PaletteEntry* entries) {
  TakeUndoCopy(editor, entries);
  for (int i = 0; i < kPaletteEntries; ++i) {
    if (!Affected(editor, i)) continue;
    const PaletteEntry old = entries[i];
    const PaletteEntry shifted{old.green, old.blue, old.red, old.flags};
    CopyUnmasked(editor, shifted, entries[i]);
  }
}

void RoughenEntries(CustomPaletteEditor& editor, PaletteEntry* entries) {
  TakeUndoCopy(editor, entries);
  for (int i = 1; i < kPaletteEntries - 1; ++i) {
    if (!Affected(editor, i)) continue;
    for (int ch = 0; ch < kChannels; ++ch) {
      if (Masked(editor, ch)) continue;
      const int changed = Channel(entries[i], ch) + Rand() % 21 - 10;
      if (changed >= 0 && changed <= 255) Channel(entries[i], ch) = static_cast<uint8_t>(changed);
    }
  }
}

void BeginCopy(CustomPaletteEditor& editor, const PaletteEntry* entries, bool merge) {
  const int f = FirstSelected(editor.selected);
  if (f < 0) return;
  editor.copyFrom = f;
  editor.copyTo = LastSelected(editor.selected);
  TakeUndoCopy(editor, entries);
  editor.copyPending = !merge;
  editor.mergePending = merge;
}

void CopyEntries(CustomPaletteEditor& editor, PaletteEntry* entries) { StretchSource(editor, entries, false); }

void MergeEntries(CustomPaletteEditor& editor, PaletteEntry* entries) { StretchSource(editor, entries, true); }

bool ApplyPendingCopy(CustomPaletteEditor& editor, PaletteEntry* entries) {
  if (editor.copyPending) {
    CopyEntries(editor, entries);
    editor.copyPending = 0;
    return true;
  }
  if (editor.mergePending) {
    MergeEntries(editor, entries);
    editor.mergePending = 0;
    return true;
  }
  return false;
}

void BeginSliderDrag(CustomPaletteEditor& editor, const PaletteEntry* entries, int red, int green, int blue) {
  TakeUndoCopy(editor, entries);
  editor.sliderRefRed = static_cast<float>(red);
  editor.sliderRefGreen = static_cast<float>(green);
  editor.sliderRefBlue = static_cast<float>(blue);
}

void SliderMoved(CustomPaletteEditor& editor, PaletteEntry* entries, int red, int green, int blue) {
  const int position[kChannels] = {red, green, blue};
  if (editor.sliderRefRed < 0) BeginSliderDrag(editor, entries, red, green, blue);
  const float reference[kChannels] = {editor.sliderRefRed, editor.sliderRefGreen, editor.sliderRefBlue};
  const int f = FirstSelected(editor.selected);
  const int l = LastSelected(editor.selected);
  if (f < 0) return;
  for (int i = f; i <= l; ++i) {
    if (!Affected(editor, i)) continue;
    for (int ch = 0; ch < kChannels; ++ch) {
      if (Masked(editor, ch)) continue;
      const int undo = Channel(editor.undoEntries[i], ch);
      int value = position[ch];
      if (f != l) {
        // A reference of 0 has no ratio: the channel keeps its colour.
        value = reference[ch] > 0 ? std::min(255, static_cast<int>(undo * position[ch] / reference[ch])) : undo;
      }
      Channel(entries[i], ch) = static_cast<uint8_t>(std::clamp(value, 0, 255));
    }
  }
}

void EndSliderDrag(CustomPaletteEditor& editor) {
  editor.sliderRefRed = editor.sliderRefGreen = editor.sliderRefBlue = -1.0f;
}

void SwapUndo(CustomPaletteEditor& editor, PaletteEntry* entries) {
  for (int i = 0; i < kPaletteEntries; ++i) std::swap(entries[i], editor.undoEntries[i]);
}

void StencilSelected(CustomPaletteEditor& editor, bool stencil) {
  for (int i = 0; i < kPaletteEntries; ++i)
    if (editor.selected[i]) editor.stencilled[i] = stencil;
}

}  // namespace fluxo
