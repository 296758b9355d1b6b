#include "palette/palette_engine.h"

#include <atomic>
#include <mutex>
#include <new>

#include "platform/system/random.h"

namespace fluxo {
namespace {

std::atomic<PaletteState*> g_current{nullptr};
// Keeps the engine alive while the window thread's hot keys use it.
std::mutex g_lifetime;

// Selecting and realising the palette: the device shows the engine's entries from now on.
void RealisePalette(PaletteState& state) {
  if (!state.dc) return;
  uint8_t rgb[kPaletteEntries * 3];
  for (int i = 0; i < kPaletteEntries; ++i) {
    rgb[i * 3] = state.logPalette[i].red;
    rgb[i * 3 + 1] = state.logPalette[i].green;
    rgb[i * 3 + 2] = state.logPalette[i].blue;
  }
  state.dc->Palette().AnimateEntries(0, kPaletteEntries, rgb);
}

}  // namespace

PaletteState* CurrentPalette() { return g_current.load(); }

void WithCurrentPalette(void (*hook)(PaletteState&)) {
  std::lock_guard lock(g_lifetime);
  if (PaletteState* state = g_current.load()) hook(*state);
}

PaletteState* CreatePaletteEngine(gdi::FrameSurface* dc) {
  SeedRandom(TickSeed());
  auto* state = new (std::nothrow) PaletteState{};
  if (!state) return nullptr;
  for (PaletteEntry& entry : state->logPalette) entry = {0, 0, 0, 1};
  state->dc = dc;
  ResetPaletteSettings(*state);
  RealisePalette(*state);
  // A custom palette exists before any is loaded.
  int redStep = Rand() % 10;
  int greenStep = Rand() % 10;
  int blueStep = Rand() % 10;
  SeedPaletteColours(state->customEntries, redStep, greenStep, blueStep);
  g_current.store(state);
  return state;
}

void DestroyPaletteEngine(PaletteState* state) {
  if (!state) return;
  std::lock_guard lock(g_lifetime);
  PaletteState* expected = state;
  g_current.compare_exchange_strong(expected, nullptr);
  delete state;
}

}  // namespace fluxo
