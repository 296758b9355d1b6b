#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "module_harness.h"
#include "modules/builtin_modules.h"

namespace fluxo::test {

// A module that draws a head and erases its tail, run step by step the way
// the render loop drives it.
class TrailTest : public ::testing::Test {
 protected:
  TrailTest(int module, const ModuleOperations& ops, int width, int height, uint32_t seed)
      : ops_(ops), harness_(module, width, height) {
    SeedRandom(seed);
  }

  void Start() {
    ops_.allocate(&harness_.slot());
    ops_.initialise(&harness_.slot());
  }
  void Frames(int count) {
    for (int i = 0; i < count; ++i) ASSERT_EQ(ops_.frame(&harness_.slot()), 0);
  }
  void Free() { ops_.free(&harness_.slot()); }

  // `count` frames in which no pixel drawn before turns black.
  void FramesWithoutErasing(int count) {
    std::vector<uint8_t> previous = harness_.Pixels();
    for (int frame = 0; frame < count; ++frame) {
      ASSERT_NO_FATAL_FAILURE(Frames(1));
      const std::vector<uint8_t> now = harness_.Pixels();
      for (size_t i = 0; i < now.size(); ++i)
        ASSERT_FALSE(previous[i] != 0 && now[i] == 0) << "pixel " << i << " erased in frame " << frame;
      previous = now;
    }
  }

  const ModuleOperations& ops_;
  ModuleHarness harness_;
};

}  // namespace fluxo::test
