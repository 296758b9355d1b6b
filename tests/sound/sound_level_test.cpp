#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

#include "controls/controls.h"
#include "platform/system/tick_count.h"
#include "settings/main_settings.h"
#include "sound/feed_fixture.h"

namespace fluxo {
namespace {

std::atomic<uint32_t> g_now{1000};
uint32_t FakeTicks() { return g_now.load(); }

class SoundLevels : public test::FeedTest {
 protected:
  void SetUp() override {
    test::FeedTest::SetUp();
    g_now = 1000;
    SetTickSourceForTesting(&FakeTicks);
  }
  void TearDown() override {
    SetTickSourceForTesting(nullptr);
    Main().homingRate = 1000;
    test::FeedTest::TearDown();
  }

  // Automatic gain on, channel levels with integer scale 1.
  void PublishAuto(float left, float right) {
    feed_->SetU32(feed::kAutoGain, 1);
    feed_->SetU32(feed::kAutoLevelScale, 1);
    feed_->SetF32(feed::kLeftLevel, left);
    feed_->SetF32(feed::kRightLevel, right);
  }
  // Teaches the volume trackers a peak of 1 and a floor of 0.
  void LearnPeakOneFloorZero() {
    PublishAuto(1.0f, 1.0f);
    SoundLevel(kSourceVolume);
    PublishAuto(0.0f, 0.0f);
    SoundLevel(kSourceVolume);
  }
  void HomeSteps(int steps) {
    for (int i = 0; i < steps; ++i) {
      g_now += 51;
      HomeGain();
    }
  }
};

TEST_F(SoundLevels, FixedScalingPerSource) {
  PublishFixed(2.0f, 4.0f, 4.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.75f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceLeft), 0.5f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceRight), 1.0f);
  feed_->SetF32(feed::kBandScale, 2.0f);
  PublishBand(4, 1.0f, 2.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceFirstBand + 4), 0.75f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceFirstBand + 5), 0.0f);
}

TEST_F(SoundLevels, FixedScalingIsNotLimitedToOne) {
  feed_->SetF32(feed::kBandScale, 0.5f);
  PublishBand(0, 1.0f, 1.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceFirstBand), 2.0f);
}

TEST_F(SoundLevels, ZeroScaleGivesFullOrSilence) {
  PublishFixed(0.3f, 0.3f, 0.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 1.0f);
  PublishFixed(0.0f, 0.0f, 0.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceFirstBand + 2), 0.0f);
  PublishAuto(0.0f, 0.0f);
  feed_->SetU32(feed::kAutoLevelScale, 0);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceLeft), 0.0f);
  feed_->SetF32(feed::kLeftLevel, 0.2f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceLeft), 1.0f);
}

TEST_F(SoundLevels, BrokenBlockValuesStayFinite) {
  PublishFixed(NAN, 1.0f, 1.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.0f);
  PublishFixed(INFINITY, 1.0f, 1.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 1.0f);
  PublishAuto(NAN, NAN);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.0f);
  PublishAuto(INFINITY, 0.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceLeft), 1.0f);
  // Bad readings never reach the trackers.
  LearnPeakOneFloorZero();
  PublishAuto(0.5f, 0.5f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.5f);
}

TEST_F(SoundLevels, UnknownSourcesReadSilence) {
  PublishFixed(1.0f, 1.0f, 1.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceOscillate), 0.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceLastBand + 1), 0.0f);
  EXPECT_FLOAT_EQ(SoundLevel(-1), 0.0f);
}

TEST_F(SoundLevels, FirstAutomaticReadingIsFullOrSilent) {
  PublishAuto(0.0f, 0.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.0f);
  ResetGainTrackers();
  PublishAuto(0.3f, 0.3f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 1.0f);
}

TEST_F(SoundLevels, AutomaticGainReadsAgainstTheLearnedPeak) {
  LearnPeakOneFloorZero();
  PublishAuto(0.5f, 0.5f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.5f);
  PublishAuto(0.5f, 0.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.25f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceLeft), 0.5f);
  PublishAuto(3.0f, 3.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 1.0f);
}

TEST_F(SoundLevels, BandsKeepTheirOwnTrackers) {
  LearnPeakOneFloorZero();
  PublishBand(7, 10.0f, 10.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceFirstBand + 7), 1.0f);  // first band reading
  PublishBand(7, 0.0f, 0.0f);
  SoundLevel(kSourceFirstBand + 7);
  PublishBand(7, 5.0f, 5.0f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceFirstBand + 7), 0.5f);
  PublishAuto(0.5f, 0.5f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.5f);
}

TEST_F(SoundLevels, StrongHomingHalvesThePeakInAboutThirtyFourSteps) {
  Main().homingRate = 0;
  LearnPeakOneFloorZero();
  HomeSteps(34);
  PublishAuto(0.5f, 0.5f);
  float level = SoundLevel(kSourceVolume);
  EXPECT_GT(level, 0.98f);
  EXPECT_LT(level, 1.0f);
  HomeSteps(1);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 1.0f);
}

TEST_F(SoundLevels, HomingWaitsForItsNextTime) {
  Main().homingRate = 999;
  LearnPeakOneFloorZero();
  HomeGain();  // first step at once, the next one 4046 ms later
  for (int i = 0; i < 10; ++i) {
    g_now += 400;
    HomeGain();
  }
  PublishAuto(0.49f, 0.49f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.49f / 0.98f);
  g_now += 50;
  HomeGain();
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.49f / (0.98f * 0.98f));
}

TEST_F(SoundLevels, WeakEndTurnsHomingOff) {
  Main().homingRate = 1000;
  LearnPeakOneFloorZero();
  HomeSteps(100);
  PublishAuto(0.5f, 0.5f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.5f);
}

TEST_F(SoundLevels, HomingBeforeAnyReadingDoesNotMuteTheSound) {
  Main().homingRate = 0;
  HomeSteps(100);
  LearnPeakOneFloorZero();
  PublishAuto(0.5f, 0.5f);
  EXPECT_FLOAT_EQ(SoundLevel(kSourceVolume), 0.5f);
}

TEST_F(SoundLevels, RenderAndPaletteThreadsShareTheTrackers) {
  Main().homingRate = 0;
  PublishAuto(0.5f, 0.25f);
  feed_->SetU32(feed::kCompanionActive, 1);
  std::atomic<bool> inRange{true};
  auto reader = [&](int source) {
    for (int i = 0; i < 20000; ++i) {
      float level = SoundLevel(source);
      if (!(level >= 0.0f && level <= 1.0f)) inRange = false;
    }
  };
  std::thread palette(reader, kSourceVolume);
  std::thread render([&] {
    reader(kSourceLeft);
    for (int i = 0; i < 2000; ++i) {
      g_now += 51;
      HomeGain();
    }
  });
  palette.join();
  render.join();
  EXPECT_TRUE(inRange);
}

}  // namespace
}  // namespace fluxo
