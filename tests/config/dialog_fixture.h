#pragma once
#include <gtest/gtest.h>

#include <cstdint>

#include "settings/display_fixture.h"
#include "sound/sound_feed.h"

namespace fluxo::test {

// The store and modules of DisplayTest with the sound feed open, as the
// dialog has them.
class DialogTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    feed = OpenSoundFeed();
    ASSERT_NE(feed, nullptr) << SoundFeedError();
  }
  void TearDown() override {
    CloseSoundFeed(feed);
    DisplayTest::TearDown();
  }

  // Stores a display whose only module is `module`, with Bezier's first
  // control at `bezierValue` so that versions can be told apart.
  static void StoreDisplay(const char* name, int module, int32_t bezierValue = 10) {
    ActivateOnly(module);
    Controls(kModuleBezier).value[0] = bezierValue;
    SaveCurrentDisplay(name);
  }

  SoundFeedBlock* feed = nullptr;
};

}  // namespace fluxo::test
