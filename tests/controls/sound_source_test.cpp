#include <gtest/gtest.h>

#include "controls/controls.h"
#include "sound/feed_fixture.h"

namespace fluxo {
namespace {

using SoundSource = test::FeedTest;

int Evaluate(int source, float& drift, float sense, float lo, float hi) {
  return TruncateSourceResult(EvaluateSource(source, drift, sense, lo, hi));
}

TEST_F(SoundSource, SenseTenFollowsTheLevelAtOnce) {
  PublishFixed(0.25f, 0.25f, 1.0f);
  float drift = 0.5f;
  EXPECT_EQ(Evaluate(kSourceVolume, drift, 10.0f, 0.0f, 100.0f), 25);
  PublishFixed(0.75f, 0.75f, 1.0f);
  EXPECT_EQ(Evaluate(kSourceVolume, drift, 10.0f, 0.0f, 100.0f), 75);
}

TEST_F(SoundSource, SenseOneReachesHalfTheRangeAfterSevenSteps) {
  PublishFixed(0.0f, 0.0f, 1.0f);
  float drift = 0.5f;
  for (int i = 0; i < 200; ++i) Evaluate(kSourceLeft, drift, 1.0f, 0.0f, 1000.0f);
  EXPECT_LT(drift, 1e-6f);
  PublishFixed(1.0f, 1.0f, 1.0f);
  int value = 0;
  for (int i = 0; i < 6; ++i) value = Evaluate(kSourceLeft, drift, 1.0f, 0.0f, 1000.0f);
  EXPECT_LT(value, 500);
  value = Evaluate(kSourceLeft, drift, 1.0f, 0.0f, 1000.0f);
  EXPECT_GE(value, 500);
  EXPECT_NEAR(drift, 0.5217f, 1e-3f);
}

TEST_F(SoundSource, ReversedRangeMakesRangeLoTheSilentValue) {
  PublishFixed(0.25f, 0.25f, 1.0f);
  float drift = 0.5f;
  EXPECT_EQ(Evaluate(kSourceRight, drift, 10.0f, 100.0f, 0.0f), 75);
  PublishFixed(0.0f, 0.0f, 1.0f);
  EXPECT_EQ(Evaluate(kSourceRight, drift, 10.0f, 100.0f, 0.0f), 100);
}

TEST_F(SoundSource, TurboModeReadsTheVolumeForEveryBand) {
  PublishFixed(1.0f, 1.0f, 1.0f);
  feed_->SetF32(feed::kBandScale, 1.0f);
  PublishBand(15, 0.0f, 0.0f);
  float drift = 0.5f;
  feed_->SetU32(feed::kTurboMode, 0);
  EXPECT_EQ(Evaluate(kSourceLastBand, drift, 10.0f, 0.0f, 100.0f), 0);
  feed_->SetU32(feed::kTurboMode, 1);
  EXPECT_EQ(Evaluate(kSourceLastBand, drift, 10.0f, 0.0f, 100.0f), 100);
}

TEST_F(SoundSource, NeverPublishedScaleStaysFinite) {
  float drift = 0.5f;
  int value = Evaluate(kSourceFirstBand + 3, drift, 10.0f, 0.0f, 100.0f);
  EXPECT_EQ(value, 0);
  EXPECT_FLOAT_EQ(drift, 0.0f);
}

TEST_F(SoundSource, LiveOnlyWithCompanionAndSync) {
  EXPECT_TRUE(IsLiveSource(kSourceOscillate));
  EXPECT_FALSE(IsLiveSource(kSourceSet));
  EXPECT_FALSE(IsLiveSource(kSourceRandom));
  SetCompanion(false, true, true);
  EXPECT_FALSE(IsLiveSource(kSourceVolume));
  EXPECT_FALSE(IsLivePaletteSource(kSourceVolume));
  SetCompanion(true, true, false);
  EXPECT_TRUE(IsLiveSource(kSourceLastBand));
  EXPECT_FALSE(IsLivePaletteSource(kSourceLastBand));
  EXPECT_TRUE(IsLivePaletteSource(kSourceOscillate));
  SetCompanion(true, false, true);
  EXPECT_FALSE(IsLiveSource(kSourceLeft));
  EXPECT_TRUE(IsLivePaletteSource(kSourceLeft));
}

TEST(SoundSourceWithoutFeed, NeverLiveAndReadsSilence) {
  ASSERT_EQ(SoundFeed(), nullptr);
  EXPECT_FALSE(IsLiveSource(kSourceVolume));
  EXPECT_TRUE(IsLiveSource(kSourceOscillate));
  float drift = 0.5f;
  EXPECT_EQ(TruncateSourceResult(EvaluateSource(kSourceVolume, drift, 10.0f, 10.0f, 20.0f)), 10);
}

}  // namespace
}  // namespace fluxo
