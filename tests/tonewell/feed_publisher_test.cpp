#include "tonewell/feed_publisher.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <cmath>

#include "controls/controls.h"
#include "platform/system/folders.h"
#include "sound/sound_feed.h"
#include "tonewell/spectrum_analyzer.h"
#include "tonewell/tonewell_support.h"

namespace fluxo::tonewell {
namespace {

// A fresh block of this test process, attached as the saver would.
class FeedPublisherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shm_unlink(SharedMemoryName().c_str());
    ResetGainTrackers();
    block_ = OpenSoundFeed();
    ASSERT_NE(block_, nullptr) << SoundFeedError();
  }
  void TearDown() override {
    CloseSoundFeed(block_);
    shm_unlink(SharedMemoryName().c_str());
  }

  // What the saver reads for `source` after the companion analysed `stereo`.
  float SaverReading(const std::vector<float>& stereo, int source) {
    FeedPublisher publisher(*block_);
    publisher.Introduce();
    SpectrumAnalyzer analyzer(48000);
    analyzer.Push(stereo.data(), stereo.size() / 2, [&](const Levels& levels) { publisher.Publish(levels); });
    return SoundLevel(source);
  }

  SoundFeedBlock* block_ = nullptr;
};

TEST_F(FeedPublisherTest, IntroduceWritesVersionAndScalesAndLeavesTheSaverFields) {
  block_->SetU32(feed::kAutoGain, 1);
  block_->SetI32(feed::kAttachCount, 2);
  FeedPublisher(*block_).Introduce();
  EXPECT_EQ(block_->U16(feed::kCompanionMajor), 3);
  EXPECT_EQ(block_->U16(feed::kCompanionMinor), 3);
  EXPECT_EQ(block_->F32(feed::kLevelScale), kLevelScale);
  EXPECT_EQ(block_->F32(feed::kBandScale), kBandScale);
  EXPECT_EQ(block_->U32(feed::kAutoLevelScale), kAutoLevelScale);
  EXPECT_EQ(block_->U32(feed::kKeyStep), kDefaultSmoothing) << "a zero keyStep is brought into the keys' range";
  EXPECT_EQ(block_->U32(feed::kCompanionActive), 0u) << "active only once levels flow";
  EXPECT_EQ(block_->U16(feed::kSaverMajor), 3);
  EXPECT_EQ(block_->U16(feed::kSaverBuild), 990);
  EXPECT_EQ(block_->U32(feed::kAutoGain), 1u);
  EXPECT_EQ(block_->I32(feed::kAttachCount), 2);

  block_->SetU32(feed::kKeyStep, 17);
  FeedPublisher(*block_).Introduce();
  EXPECT_EQ(block_->U32(feed::kKeyStep), 17u) << "the user's step is kept";
}

TEST_F(FeedPublisherTest, PublishMarksActiveAndSilenceClearsEverything) {
  FeedPublisher publisher(*block_);
  Levels levels;
  levels.left.level = 0.25f;
  levels.right.level = 0.5f;
  for (size_t band = 0; band < kBandCount; ++band) {
    levels.left.bands[band] = 0.01f * band;
    levels.right.bands[band] = 0.02f * band;
  }
  publisher.Publish(levels);
  EXPECT_EQ(block_->U32(feed::kCompanionActive), 1u);
  EXPECT_EQ(block_->F32(feed::kLeftLevel), 0.25f);
  EXPECT_EQ(block_->F32(feed::kRightLevel), 0.5f);
  EXPECT_EQ(block_->F32(feed::kLeftBands + 4 * 15), levels.left.bands[15]);
  EXPECT_EQ(block_->F32(feed::kRightBands + 4 * 7), levels.right.bands[7]);
  EXPECT_EQ(block_->F32(feed::kInfoText1), 0.0f) << "nothing written past the right bands";
  const Levels back = ReadLevels(*block_);
  EXPECT_EQ(back.right.bands, levels.right.bands);

  publisher.Silence();
  EXPECT_EQ(block_->U32(feed::kCompanionActive), 0u);
  const Levels silent = ReadLevels(*block_);
  EXPECT_EQ(silent.left.level, 0.0f);
  for (float band : silent.right.bands) EXPECT_EQ(band, 0.0f);
}

TEST_F(FeedPublisherTest, TrackLinesAreCutOnCharactersAndTheSerialChanges) {
  FeedPublisher publisher(*block_);
  const uint32_t before = block_->U32(feed::kInfoSerial);
  std::string title = std::string(62, 'x') + "\xC3\xA9";  // "é" would end at byte 64
  publisher.PublishTrack({"Artist", title, "Album"});
  EXPECT_NE(block_->U32(feed::kInfoSerial), before);
  EXPECT_EQ(block_->Text(feed::kInfoText1, 64), "Artist");
  EXPECT_EQ(block_->Text(feed::kInfoText2, 64), std::string(62, 'x'));
  EXPECT_EQ(block_->Text(feed::kInfoText3, 64), "Album");
  EXPECT_EQ(block_->Base()[feed::kInfoText2 + 62], 0) << "zero-terminated inside its 64 bytes";

  const uint32_t first = block_->U32(feed::kInfoSerial);
  publisher.PublishTrack({"", std::string(100, 'y'), ""});
  EXPECT_NE(block_->U32(feed::kInfoSerial), first);
  EXPECT_EQ(block_->Text(feed::kInfoText2, 64), std::string(63, 'y'));
  EXPECT_EQ(block_->Text(feed::kInfoText1, 64), "");
  EXPECT_EQ(block_->Text(feed::kInfoText3, 64), "") << "the old album line is gone";
}

// The chosen scales, read through the saver's own formula with "Auto Adjust
// Gain" off: loud music (about -10 dBFS RMS) near 1, quiet music clearly less.
TEST_F(FeedPublisherTest, FixedScalesReadLoudMusicNearOneAndQuietMusicLow) {
  block_->SetU32(feed::kAutoGain, 0);
  const double loud = 0.3 * std::sqrt(2.0);    // a sine of RMS 0.3
  const double quiet = 0.03 * std::sqrt(2.0);  // 20 dB lower
  const float loudVolume = SaverReading(test::StereoTone(48000, 0.3, 220, loud, 220, loud), kSourceVolume);
  EXPECT_NEAR(loudVolume, 1.0f, 0.05f);
  const float quietVolume = SaverReading(test::StereoTone(48000, 0.3, 220, quiet, 220, quiet), kSourceVolume);
  EXPECT_LT(quietVolume, 0.2f);
  EXPECT_GT(quietVolume, 0.05f);
  const float leftOnly = SaverReading(test::StereoTone(48000, 0.3, 220, loud, 220, 0), kSourceLeft);
  EXPECT_NEAR(leftOnly, 1.0f, 0.05f);
  EXPECT_EQ(SoundLevel(kSourceRight), 0.0f);
  const float band = SaverReading(test::StereoTone(48000, 0.3, 2000, loud, 2000, loud), kSourceFirstBand + 6);
  EXPECT_GT(band, 1.0f) << "a pure tone concentrates all of its level in one band";
  EXPECT_LT(SoundLevel(kSourceFirstBand + 3), 0.05f);
}

TEST_F(FeedPublisherTest, AutomaticGainSeesFiniteLevels) {
  block_->SetU32(feed::kAutoGain, 1);
  const float first = SaverReading(test::StereoTone(48000, 0.3, 440, 0.2, 440, 0.2), kSourceVolume);
  EXPECT_TRUE(std::isfinite(first));
  EXPECT_GT(first, 0.0f);
  EXPECT_LE(first, 1.0f);
}

}  // namespace
}  // namespace fluxo::tonewell
