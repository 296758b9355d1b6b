#pragma once
#include <cstdint>
#include <string>

#include "sound/sound_feed.h"
#include "tonewell/spectrum_analyzer.h"

namespace fluxo::tonewell {

constexpr uint16_t kCompanionMajor = 3;
constexpr uint16_t kCompanionMinor = 3;

// Full-scale values published for the saver's fixed scaling ("Auto Adjust
// Gain" off). Loudly mastered music runs at an RMS around -10 dBFS (0.3), so
// it reads near 1, while quiet music (-25 dBFS and below) reads 0.2 or less.
// The bands use the same value: they are normalised so that pink noise reads
// its RMS level in every band (see ChannelLevels).
constexpr float kLevelScale = 0.3f;
constexpr float kBandScale = 0.3f;
// Under automatic gain the saver divides the channel levels by this integer
// before its peak and floor tracking takes over, which makes any positive
// value equivalent; 1 keeps the tracked values in the levels' own units.
constexpr uint32_t kAutoLevelScale = 1;

// The bytes each track line may hold before its terminator.
constexpr size_t kInfoTextBytes = 63;

struct TrackLines {
  std::string artist;
  std::string title;
  std::string album;
  bool operator==(const TrackLines&) const = default;
};

// The companion's writes into the shared block.
class FeedPublisher {
 public:
  explicit FeedPublisher(SoundFeedBlock& block) : block_(block) {}

  // Version, scales and a sane keyStep; leaves companionActive as it is.
  void Introduce();
  // Levels of one hop; marks the companion active.
  void Publish(const Levels& levels);
  // No input any more: levels to zero, companionActive 0.
  void Silence();
  // The three track lines, cut on a character boundary, and a new infoSerial.
  void PublishTrack(const TrackLines& track);
  uint32_t Smoothing() const { return block_.U32(feed::kKeyStep); }
  SoundFeedBlock& Block() { return block_; }

 private:
  void WriteLevels(const Levels& levels);
  SoundFeedBlock& block_;
};

// The fields as the saver reads them; for the meter and tests.
Levels ReadLevels(const SoundFeedBlock& block);

}  // namespace fluxo::tonewell
