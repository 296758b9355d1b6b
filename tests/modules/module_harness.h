#pragma once
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "platform/gdi/frame_surface.h"
#include "platform/system/random.h"
#include "platform/system/saver_state.h"
#include "platform/system/tick_count.h"

namespace fluxo::test {

// A clock the test moves by hand, so module deadlines only pass when told.
struct ManualClock {
  static inline uint32_t now = 100000;
  static uint32_t Read() { return now; }
};

// A module slot set up the way the render thread does it: a cleared table,
// the surface size and device in the slot, every control defined.
class ModuleHarness {
 public:
  ModuleHarness(int module, int width, int height) : module_(module) {
    ClearModuleTable();
    DefineAllControls();
    MarkSoundCapableControls();
    surface_ = std::make_unique<gdi::FrameSurface>(width, height);
    Clear();
    ModuleSlot& slot = Slot(module);
    slot.width = width;
    slot.height = height;
    slot.dc = surface_.get();
    ManualClock::now = 100000;
    SetTickSourceForTesting(&ManualClock::Read);
    Saver().saverRunning.store(1);
  }
  ~ModuleHarness() {
    SetTickSourceForTesting(nullptr);
    Saver().saverRunning.store(0);
  }
  ModuleHarness(const ModuleHarness&) = delete;
  ModuleHarness& operator=(const ModuleHarness&) = delete;

  ModuleSlot& slot() { return Slot(module_); }
  gdi::FrameSurface& surface() { return *surface_; }

  void SetControl(int index, int32_t value) { slot().controls.value[index] = value; }
  void Oscillate(int index, int32_t lo, int32_t hi) {
    ControlBlock& c = slot().controls;
    c.source[index] = kSourceOscillate;
    c.rangeLo[index] = lo;
    c.rangeHi[index] = hi;
  }

  std::vector<uint8_t> Pixels() const {
    const uint8_t* p = surface_->Pixels();
    return {p, p + static_cast<size_t>(surface_->Width()) * surface_->Height()};
  }
  int CountNonBlack() const {
    const uint8_t* p = surface_->Pixels();
    const size_t size = static_cast<size_t>(surface_->Width()) * surface_->Height();
    return static_cast<int>(std::count_if(p, p + size, [](uint8_t v) { return v != 0; }));
  }
  void Clear() {
    std::fill_n(surface_->MutablePixels(), static_cast<size_t>(surface_->Width()) * surface_->Height(), 0);
  }

 private:
  int module_;
  std::unique_ptr<gdi::FrameSurface> surface_;
};

}  // namespace fluxo::test
