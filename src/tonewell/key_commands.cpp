#include "tonewell/key_commands.h"

#include <algorithm>

namespace fluxo::tonewell {
namespace {

// How far a counter moved; counters wrap, so the difference is taken modulo 2^32.
int32_t Moved(int32_t now, int32_t before) {
  return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(before));
}

}  // namespace

KeyCommands::KeyCommands(SoundFeedBlock& block)
    : block_(block), horizontal_(block.I32(feed::kHorizontalStep)), vertical_(block.I32(feed::kVerticalStep)) {
  block_.SetU16(feed::kDigitKey, kDigitServed);
}

void KeyCommands::Poll(PlayerControl& player) {
  const int32_t horizontal = block_.I32(feed::kHorizontalStep);
  const int32_t skips = std::clamp(Moved(horizontal, horizontal_), -kMaxStepsPerPoll, kMaxStepsPerPoll);
  horizontal_ = horizontal;
  for (int32_t i = 0; i < skips; ++i) player.Next();
  for (int32_t i = 0; i < -skips; ++i) player.Previous();

  const int32_t vertical = block_.I32(feed::kVerticalStep);
  const int32_t steps = std::clamp(Moved(vertical, vertical_), -20, 20);  // 20 steps span the whole volume
  vertical_ = vertical;
  if (steps != 0) player.ChangeVolume(steps * kVolumeStep);

  const uint16_t digit = block_.U16(feed::kDigitKey);
  if (digit <= 9) {
    block_.SetU16(feed::kDigitKey, kDigitServed);
    player.SeekToFraction(digit / 10.0);
  }
}

}  // namespace fluxo::tonewell
