#pragma once
#include <gtest/gtest.h>

#include "module_harness.h"
#include "modules/builtin_modules.h"

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

}  // namespace fluxo::test
