#include "tonewell/feed_publisher.h"

#include "tonewell/utf8_cut.h"

namespace fluxo::tonewell {

void FeedPublisher::Introduce() {
  block_.SetU16(feed::kCompanionMajor, kCompanionMajor);
  block_.SetU16(feed::kCompanionMinor, kCompanionMinor);
  block_.SetF32(feed::kLevelScale, kLevelScale);
  block_.SetU32(feed::kAutoLevelScale, kAutoLevelScale);
  block_.SetF32(feed::kBandScale, kBandScale);
  // The saver steps keyStep only within 1..20; start a fresh block mid-range.
  const uint32_t step = block_.U32(feed::kKeyStep);
  if (step < kMinSmoothing || step > kMaxSmoothing) block_.SetU32(feed::kKeyStep, kDefaultSmoothing);
}

void FeedPublisher::WriteLevels(const Levels& levels) {
  block_.SetF32(feed::kLeftLevel, levels.left.level);
  block_.SetF32(feed::kRightLevel, levels.right.level);
  for (size_t band = 0; band < kBandCount; ++band) {
    block_.SetF32(feed::kLeftBands + 4 * band, levels.left.bands[band]);
    block_.SetF32(feed::kRightBands + 4 * band, levels.right.bands[band]);
  }
}

void FeedPublisher::Publish(const Levels& levels) {
  WriteLevels(levels);
  block_.SetU32(feed::kCompanionActive, 1);
}

void FeedPublisher::Silence() {
  block_.SetU32(feed::kCompanionActive, 0);
  WriteLevels(Levels{});
}

void FeedPublisher::PublishTrack(const TrackLines& track) {
  const size_t capacity = kInfoTextBytes + 1;
  block_.SetText(feed::kInfoText1, capacity, CutUtf8(track.artist, kInfoTextBytes));
  block_.SetText(feed::kInfoText2, capacity, CutUtf8(track.title, kInfoTextBytes));
  block_.SetText(feed::kInfoText3, capacity, CutUtf8(track.album, kInfoTextBytes));
  // The serial changes last, so a saver that sees it change finds the new lines.
  block_.SetU32(feed::kInfoSerial, block_.U32(feed::kInfoSerial) + 1);
}

Levels ReadLevels(const SoundFeedBlock& block) {
  Levels levels;
  levels.left.level = block.F32(feed::kLeftLevel);
  levels.right.level = block.F32(feed::kRightLevel);
  for (size_t band = 0; band < kBandCount; ++band) {
    levels.left.bands[band] = block.F32(feed::kLeftBands + 4 * band);
    levels.right.bands[band] = block.F32(feed::kRightBands + 4 * band);
  }
  return levels;
}

}  // namespace fluxo::tonewell
