#pragma once
#include <gtest/gtest.h>

#include "module_harness.h"
#include "modules/builtin_modules.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::test {

// One run of a module the way the render loop drives it: allocate,
// initialise, `frames` frames (each must report 0) and free.
inline void RunModule(ModuleHarness& harness, const ModuleOperations& ops, int frames) {
  ops.allocate(&harness.slot());
  ops.initialise(&harness.slot());
  for (int i = 0; i < frames; ++i) ASSERT_EQ(ops.frame(&harness.slot()), 0) << "frame " << i;
  ops.free(&harness.slot());
}

// Every control that sound may drive oscillates over its whole defined range.
inline void OscillateDrivenControls(ModuleHarness& harness) {
  const ControlBlock& c = harness.slot().controls;
  for (int i = 0; i < kControlCount; ++i)
    if (c.defined[i] && c.soundCapable[i]) harness.Oscillate(i, c.minValue[i], c.maxValue[i]);
}

// Runs the module once for each end of each control's range, the other
// controls at their defaults as changed by `prepare`, and hands the harness
// to `check` after free.
template <typename Prepare, typename Check>
void ForEachControlExtreme(int module, const ModuleOperations& ops, int width, int height, int frames,
                           Prepare&& prepare, Check&& check) {
  for (int control = 0; control < kControlCount; ++control) {
    for (const bool top : {false, true}) {
      ModuleHarness harness(module, width, height);
      const ControlBlock& c = harness.slot().controls;
      if (!c.defined[control]) continue;
      prepare(harness);
      const int32_t value = top ? c.maxValue[control] : c.minValue[control];
      SCOPED_TRACE(testing::Message() << "control " << control << " at " << value);
      harness.SetControl(control, value);
      RunModule(harness, ops, frames);
      check(harness, control, value);
    }
  }
}

// The drawn pixels of tile (0, 0) of a 2 x 2 tiling that have no drawn pixel
// near their mirror images in tiles (1, 0), (0, 1) and (1, 1). Mirrored lines
// may round a pixel apart, so a neighbour counts as a match.
inline int CountUnmirroredPixels(const gdi::FrameSurface& s) {
  const int w = s.Width(), h = s.Height();
  const auto drawnNear = [&s, w, h](int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int px = x + dx, py = y + dy;
        if (px >= 0 && py >= 0 && px < w && py < h && s.PixelAt(px, py) != 0) return true;
      }
    return false;
  };
  int unmatched = 0;
  for (int y = 0; y < h / 2; ++y) {
    for (int x = 0; x < w / 2; ++x) {
      if (s.PixelAt(x, y) == 0) continue;
      // Tile (1, 0) holds x -> w/2 + (w/2 - x), tile (0, 1) y -> h/2 + (h/2 - y).
      const int mx = w - x, my = h - y;
      if (mx < w && !drawnNear(mx, y)) ++unmatched;
      if (my < h && !drawnNear(x, my)) ++unmatched;
      if (mx < w && my < h && !drawnNear(mx, my)) ++unmatched;
    }
  }
  return unmatched;
}

}  // namespace fluxo::test
