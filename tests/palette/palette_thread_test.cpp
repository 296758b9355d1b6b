#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "platform/system/saver_state.h"
#include "palette/palette_engine.h"
#include "platform/gdi/frame_surface.h"
#include "platform/gdi/palette_table.h"
#include "platform/system/tick_count.h"

namespace fluxo {
namespace {

using namespace std::chrono_literals;

// Polls until `done` holds; a generous limit only keeps a broken build from hanging.
template <typename Done>
bool WaitFor(Done done) {
  auto limit = std::chrono::steady_clock::now() + 10s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

class PaletteThreadRun : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSaverState();
    SetTickSourceForTesting(nullptr);
    surface_ = std::make_unique<gdi::FrameSurface>(16, 16);
    state_ = CreatePaletteEngine(surface_.get());
    ASSERT_NE(state_, nullptr);
    state_->value[ParamSlot(kParamCycleRate, 0)] = 10;
    Saver().saverRunning = 1;
  }
  void TearDown() override {
    Saver().saverRunning = 0;
    Saver().paletteGate.Open();
    if (thread_.joinable()) thread_.join();
    DestroyPaletteEngine(state_);
    ResetSaverState();
  }
  void Start() {
    thread_ = std::thread([this] { PaletteThread(*state_); });
  }
  uint32_t TableEntry(int entry) const { return surface_->Palette().Entry(gdi::PixelOfEntry(entry)); }

  std::unique_ptr<gdi::FrameSurface> surface_;
  PaletteState* state_ = nullptr;
  std::thread thread_;
};

TEST_F(PaletteThreadRun, StartsWritesTheDeviceTableAndStopsWithTheSaver) {
  // Creation realised the engine's (still black) palette on the device.
  EXPECT_EQ(TableEntry(100) & 0xFFFFFF, 0u);
  Start();
  ASSERT_TRUE(WaitFor([&] { return Saver().paletteReady.load() == 1; }));
  ASSERT_TRUE(WaitFor([&] {
    for (int i = 0; i < kPaletteEntries; ++i)
      if (TableEntry(i) & 0xFFFFFF) return true;
    return false;
  }));
  HoldPaletteTicks(*state_);
  for (int i = 0; i < kPaletteEntries; i += 17) {
    const PaletteEntry& e = state_->logPalette[i];
    uint32_t rgb = (uint32_t{e.red} << 16) | (uint32_t{e.green} << 8) | e.blue;
    EXPECT_EQ(TableEntry(i) & 0xFFFFFF, rgb) << i;
  }
  ReleasePaletteTicks();
  Saver().saverRunning = 0;
  thread_.join();
  EXPECT_EQ(Saver().saverRunning.load(), 0);
}

TEST_F(PaletteThreadRun, HeldTicksLeaveTheEngineAlone) {
  Start();
  ASSERT_TRUE(WaitFor([&] { return Saver().paletteReady.load() == 1; }));
  HoldPaletteTicks(*state_);
  EXPECT_EQ(state_->ticking.load(), 0);
  int32_t positions[kChannels];
  std::copy(state_->position, state_->position + kChannels, positions);
  std::this_thread::sleep_for(60ms);
  for (int ch = 0; ch < kChannels; ++ch) EXPECT_EQ(state_->position[ch], positions[ch]);
  ReleasePaletteTicks();
  // Direction 1 on every channel moves the position again once released.
  ASSERT_TRUE(WaitFor([&] {
    HoldPaletteTicks(*state_);
    bool moved = state_->position[0] != positions[0];
    ReleasePaletteTicks();
    return moved;
  }));
}

TEST_F(PaletteThreadRun, AClosedGateSuspendsTheThreadUntilOpened) {
  Saver().paletteGate.Close();  // F7 before the first tick: the thread stops at its gate
  Start();
  ASSERT_TRUE(WaitFor([&] { return Saver().paletteReady.load() == 1; }));
  auto position = [&] {
    HoldPaletteTicks(*state_);
    int32_t p = state_->position[0];
    ReleasePaletteTicks();
    return p;
  };
  int32_t first = position();
  std::this_thread::sleep_for(60ms);
  EXPECT_EQ(position(), first);
  EXPECT_EQ(TableEntry(50) & 0xFFFFFF, 0u);
  Saver().paletteGate.Open();
  EXPECT_TRUE(WaitFor([&] { return position() != first; }));
}

}  // namespace
}  // namespace fluxo
