#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>

#include "platform/system/saver_state.h"
#include "palette/palette_engine.h"
#include "platform/system/random.h"
#include "platform/system/tick_count.h"

namespace fluxo::test {

// An engine without a device on a clock the test moves by hand.
class PaletteFixture : public ::testing::Test {
 protected:
  static inline std::atomic<uint32_t> now_{100000};
  static uint32_t FakeNow() { return now_.load(); }

  void SetUp() override {
    ResetSaverState();
    now_ = 100000;
    SetTickSourceForTesting(&FakeNow);
    state_ = CreatePaletteEngine(nullptr);
    ASSERT_NE(state_, nullptr);
    SeedRandom(1234);
  }
  void TearDown() override {
    DestroyPaletteEngine(state_);
    SetTickSourceForTesting(nullptr);
  }

  void Advance(uint32_t ms) { now_ += ms; }

  // Every parameter of every channel fixed at its current value.
  void FixAllParams() {
    for (int32_t& source : state_->source) source = 0;
  }
  void SetParam(int param, int32_t value) {
    for (int ch = 0; ch < kChannels; ++ch) {
      state_->source[ParamSlot(param, ch)] = 0;
      state_->value[ParamSlot(param, ch)] = value;
    }
  }
  void SetEffect(int32_t effect) {
    for (auto& e : state_->effect) e = effect;
  }

  // Custom colours whose red, green and blue are the entry index, so a
  // computed entry shows the position it was computed at (mod 236).
  void UseIndexColours() {
    for (int i = 0; i < kPaletteEntries; ++i) {
      uint8_t v = static_cast<uint8_t>(i);
      state_->customEntries[i] = {v, v, v, 1};
    }
    SetEffect(kEffectCustom);
  }

  // A fresh pattern on every channel that will not change for 300 seconds.
  void SteadyPattern(int32_t direction) {
    FixAllParams();
    SetParam(kParamSeconds, 300);
    SetParam(kParamDirection, direction);
    SetParam(kParamEvent, 3000);
    NewAllPatterns(*state_);
  }

  PaletteState* state_ = nullptr;
};

}  // namespace fluxo::test
