#include "host/present_tally.h"

#include <cstdio>
#include <utility>

namespace fluxo {

PresentTally::PresentTally(Report report, Clock::duration period) : report_(std::move(report)), period_(period) {}

void PresentTally::Refreshed(int64_t pixels, bool newColours, Clock::time_point now) {
  if (!started_) {
    // The period starts with the first tick: start-up is traced apart.
    started_ = true;
    start_ = now;
  }
  presents_ += pixels > 0 || newColours ? 1 : 0;
  recoloured_ += newColours ? 1 : 0;
  pixels_ += pixels;
  const Clock::duration elapsed = now - start_;
  if (elapsed < period_) return;
  report_(DescribePresents(std::chrono::duration<double>(elapsed).count(), presents_, recoloured_, pixels_));
  start_ = now;
  presents_ = recoloured_ = pixels_ = 0;
}

std::string DescribePresents(double seconds, int64_t presents, int64_t recoloured, int64_t pixels) {
  if (seconds <= 0) return "presents: none measured";
  char text[128];
  std::snprintf(text, sizeof text, "presents: %.1f a second (%.1f with new colours), %.1f M pixels a second",
                static_cast<double>(presents) / seconds, static_cast<double>(recoloured) / seconds,
                static_cast<double>(pixels) / seconds / 1e6);
  return text;
}

}  // namespace fluxo
