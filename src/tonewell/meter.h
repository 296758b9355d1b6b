#pragma once
#include <string>

#include "sound/sound_feed.h"

namespace fluxo::tonewell {

// The text `tonewell --meter` shows: the two channel levels and the 16 bands
// of both channels as bars of `barWidth` characters, each as the saver reads
// it with fixed scaling (level over its full-scale value, full bar at 1), and
// whether the companion is publishing.
std::string MeterText(const SoundFeedBlock& block, size_t barWidth);

}  // namespace fluxo::tonewell
