#pragma once
#include <cstdint>

#include "sound/sound_feed.h"

namespace fluxo::tonewell {

// What the saver's keys ask of the desktop's media player.
class PlayerControl {
 public:
  virtual ~PlayerControl() = default;
  virtual void Next() = 0;
  virtual void Previous() = 0;
  virtual void ChangeVolume(double delta) = 0;  // on the player's 0..1 scale
  virtual void SeekToFraction(double fraction) = 0;
};

// Volume change per Up/Down press.
constexpr double kVolumeStep = 0.05;
// At most this many skips per poll, so a counter that jumped (another saver
// instance, a stale block) cannot race through a whole playlist.
constexpr int kMaxStepsPerPoll = 5;
// digitKey holds this after the companion has served a digit, so pressing the
// same digit again is seen as a new press.
constexpr uint16_t kDigitServed = 0xFFFF;

// Turns the saver's key fields into player commands: the arrow counters
// (horizontalStep: next/previous track; verticalStep: volume up/down) by how
// far they moved since the last poll, and each digit press into a seek to
// that tenth of the track.
class KeyCommands {
 public:
  // Takes the counters as they stand as the starting point and marks any
  // digit as served, so nothing pressed before the start is replayed.
  explicit KeyCommands(SoundFeedBlock& block);
  void Poll(PlayerControl& player);

 private:
  SoundFeedBlock& block_;
  int32_t horizontal_;
  int32_t vertical_;
};

}  // namespace fluxo::tonewell
