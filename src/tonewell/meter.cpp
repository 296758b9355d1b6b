#include "tonewell/meter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tonewell/band_layout.h"
#include "tonewell/feed_publisher.h"

namespace fluxo::tonewell {
namespace {

std::string Bar(float value, float scale, size_t width) {
  float reading = scale > 0 ? value / scale : 0;
  if (!std::isfinite(reading)) reading = 0;
  const auto filled = static_cast<size_t>(std::clamp(reading, 0.0f, 1.0f) * static_cast<float>(width) + 0.5f);
  return std::string(filled, '#') + std::string(width - filled, '.');
}

std::string BandName(size_t band) {
  char name[16];
  const double centre = kBandCentres[band];
  if (centre < 1000)
    std::snprintf(name, sizeof name, "%5.0f Hz", centre);
  else
    std::snprintf(name, sizeof name, "%4.4g kHz", centre / 1000);
  return name;
}

}  // namespace

std::string MeterText(const SoundFeedBlock& block, size_t barWidth) {
  const Levels levels = ReadLevels(block);
  const float levelScale = block.F32(feed::kLevelScale);
  const float bandScale = block.F32(feed::kBandScale);
  const bool active = block.U32(feed::kCompanionActive) != 0;
  char line[128];
  std::string text = active ? "Tonewell is publishing\n" : "Tonewell is not publishing (companionActive 0)\n";
  std::snprintf(line, sizeof line, "%-9s %5.2f ", "left", levelScale > 0 ? levels.left.level / levelScale : 0);
  text += line + Bar(levels.left.level, levelScale, barWidth) + "\n";
  std::snprintf(line, sizeof line, "%-9s %5.2f ", "right", levelScale > 0 ? levels.right.level / levelScale : 0);
  text += line + Bar(levels.right.level, levelScale, barWidth) + "\n";
  const size_t half = barWidth / 2;
  for (size_t band = 0; band < kBandCount; ++band) {
    text += BandName(band) + "       " + Bar(levels.left.bands[band], bandScale, half) + " " +
            Bar(levels.right.bands[band], bandScale, half) + "\n";
  }
  return text;
}

}  // namespace fluxo::tonewell
