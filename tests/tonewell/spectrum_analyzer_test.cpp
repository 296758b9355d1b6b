#include "tonewell/spectrum_analyzer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tonewell/band_layout.h"
#include "tonewell/tonewell_support.h"

namespace fluxo::tonewell {
namespace {

// Runs the stereo samples through a fresh analyzer; the levels of the last hop.
Levels Analyse(const std::vector<float>& stereo, uint32_t rate, uint32_t smoothing = kDefaultSmoothing) {
  SpectrumAnalyzer analyzer(rate);
  analyzer.SetSmoothing(smoothing);
  Levels last;
  analyzer.Push(stereo.data(), stereo.size() / 2, [&last](const Levels& levels) { last = levels; });
  return last;
}

size_t LoudestBand(const ChannelLevels& channel) {
  return static_cast<size_t>(std::max_element(channel.bands.begin(), channel.bands.end()) - channel.bands.begin());
}

TEST(BandLayout, EdgesRunFrom20HzToNyquistAndHalveTheLogDistance) {
  for (double rate : {44100.0, 48000.0, 96000.0}) {
    const auto edges = BandEdges(rate);
    EXPECT_DOUBLE_EQ(edges.front(), 20.0);
    EXPECT_DOUBLE_EQ(edges.back(), rate / 2);
    for (size_t band = 0; band < kBandCount; ++band) {
      EXPECT_LT(edges[band], kBandCentres[band]) << band;
      EXPECT_GT(edges[band + 1], kBandCentres[band]) << band;
      if (band > 0) {  // the shared edge sits as far (in octaves) from both centres
        EXPECT_NEAR(std::log(edges[band] / kBandCentres[band - 1]), std::log(kBandCentres[band] / edges[band]), 1e-9);
      }
    }
  }
  EXPECT_DOUBLE_EQ(BandEdges(48000)[5], std::sqrt(1000.0 * 1500.0));
}

TEST(BandLayout, FrequenciesMapToTheirBand) {
  EXPECT_EQ(BandOfFrequency(19.9, 48000), -1);
  EXPECT_EQ(BandOfFrequency(20, 48000), 0);
  EXPECT_EQ(BandOfFrequency(244, 48000), 0);
  EXPECT_EQ(BandOfFrequency(246, 48000), 1);
  EXPECT_EQ(BandOfFrequency(15001, 48000), 15);
  EXPECT_EQ(BandOfFrequency(24000, 48000), 15);
  EXPECT_EQ(BandOfFrequency(24001, 48000), -1);
  for (size_t band = 0; band < kBandCount; ++band)
    EXPECT_EQ(BandOfFrequency(kBandCentres[band], 44100), static_cast<int>(band));
}

TEST(BandLayout, LowSampleRateLeavesTheUpperBandsEmpty) {
  const auto edges = BandEdges(16000);
  EXPECT_DOUBLE_EQ(edges[kBandCount], 8000);
  EXPECT_EQ(BandOfFrequency(7000, 16000), 11);
  EXPECT_EQ(BandOfFrequency(7999, 16000), 12);  // the 8 kHz band, cut at Nyquist
  for (size_t band = 13; band < kBandCount; ++band) EXPECT_DOUBLE_EQ(edges[band], edges[band + 1]);
}

TEST(SpectrumAnalyzer, ToneAtEachCentreLandsInItsBand) {
  for (uint32_t rate : {44100u, 48000u}) {
    for (size_t band = 0; band < kBandCount; ++band) {
      const double hz = kBandCentres[band];
      const Levels levels = Analyse(test::StereoTone(rate, 0.25, hz, 0.5, hz, 0.25), rate);
      for (const ChannelLevels* channel : {&levels.left, &levels.right}) {
        ASSERT_EQ(LoudestBand(*channel), band) << hz << " Hz at " << rate;
        // Clearly above every other band, not just the largest by a hair.
        for (size_t other = 0; other < kBandCount; ++other)
          if (other != band) {
            EXPECT_LT(channel->bands[other], 0.05f * channel->bands[band]) << hz << " vs " << other;
          }
      }
      EXPECT_NEAR(levels.right.bands[band] / levels.left.bands[band], 0.5, 0.02);
    }
  }
}

TEST(SpectrumAnalyzer, LevelIsTheRmsOfTheWindowAndBandsFollowTheAmplitude) {
  const Levels full = Analyse(test::StereoTone(48000, 0.2, 1000, 1.0, 1000, 0.1), 48000);
  EXPECT_NEAR(full.left.level, std::sqrt(0.5), 0.01);
  EXPECT_NEAR(full.right.level, 0.1 * std::sqrt(0.5), 0.001);
  // The band holds the tone's RMS over the square root of its log-width share.
  const auto edges = BandEdges(48000);
  const double share = std::log(edges[5] / edges[4]) / std::log(edges[16] / edges[0]);
  EXPECT_NEAR(full.left.bands[4], std::sqrt(0.5) / std::sqrt(share), 0.05 * full.left.bands[4]);
  EXPECT_NEAR(full.right.bands[4] / full.left.bands[4], 0.1, 0.005);

  const Levels silent = Analyse(std::vector<float>(48000 * 2 / 5, 0.0f), 48000);
  EXPECT_EQ(silent.left.level, 0.0f);
  for (float band : silent.right.bands) EXPECT_EQ(band, 0.0f);
}

TEST(SpectrumAnalyzer, PublishesAtLeastSixtyTimesASecond) {
  for (uint32_t rate : {22050u, 44100u, 48000u, 96000u}) {
    SpectrumAnalyzer analyzer(rate);
    int hops = 0;
    const std::vector<float> second(rate * 2, 0.0f);
    analyzer.Push(second.data(), rate, [&hops](const Levels&) { ++hops; });
    EXPECT_GE(hops, 60) << rate;
    EXPECT_LE(hops, 61) << rate;
    EXPECT_GE(analyzer.WindowFrames() * 24, rate) << "a window of at least 40 ms";
  }
}

// After a tone stops, levels fall off over the release instead of dropping
// at once, and a higher smoothing step falls more slowly.
TEST(SpectrumAnalyzer, LevelsReleaseShortlyAndSmoothingSlowsTheFall) {
  auto levelAfterStop = [](uint32_t smoothing, double secondsAfter) {
    std::vector<float> audio = test::StereoTone(48000, 0.2, 440, 0.5, 440, 0.5);
    audio.resize(audio.size() + static_cast<size_t>(48000 * secondsAfter) * 2, 0.0f);
    return Analyse(audio, 48000, smoothing).left.level;
  };
  const float peak = levelAfterStop(kDefaultSmoothing, 0.0);
  const float shortlyAfter = levelAfterStop(kDefaultSmoothing, 0.1);
  EXPECT_GT(shortlyAfter, 0.05f * peak);
  EXPECT_LT(shortlyAfter, 0.6f * peak);
  EXPECT_LT(levelAfterStop(kDefaultSmoothing, 0.6), 0.01f * peak) << "the release is short";
  EXPECT_GT(levelAfterStop(20, 0.1), levelAfterStop(1, 0.1) * 5);
  // Out-of-range steps (an untouched block holds 0) mean the default.
  EXPECT_EQ(levelAfterStop(0, 0.1), shortlyAfter);
  EXPECT_EQ(levelAfterStop(21, 0.1), shortlyAfter);
}

}  // namespace
}  // namespace fluxo::tonewell
