#pragma once
#include <gtest/gtest.h>

#include "engine/fake_window.h"
#include "engine/module_registry.h"
#include "platform/system/saver_state.h"
#include "settings/main_settings.h"
#include "sound/sound_feed.h"

namespace fluxo::test {

// A clean process state with the sound feed attached, as after window creation.
class DriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSaverState();
    ClearModuleTable();
    ResetMainSettings();
    feed = OpenSoundFeed();
    ASSERT_NE(feed, nullptr) << SoundFeedError();
  }
  void TearDown() override {
    if (SoundFeed()) CloseSoundFeed(SoundFeed());
  }

  intptr_t Send(SaverMessage message, uintptr_t wParam = 0, intptr_t lParam = 0) {
    return ScreenSaverProc(&window, message, wParam, lParam);
  }
  intptr_t Key(uint32_t code) { return Send(SaverMessage::KeyDown, code); }

  FakeWindow window;
  SoundFeedBlock* feed = nullptr;
};

}  // namespace fluxo::test
