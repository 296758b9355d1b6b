#include "tonewell/band_layout.h"

#include <algorithm>
#include <cmath>

namespace fluxo::tonewell {

std::array<double, kBandCount + 1> BandEdges(double sampleRate) {
  std::array<double, kBandCount + 1> edges{};
  // At a low sample rate the upper bands lie beyond Nyquist and stay empty.
  const double nyquist = sampleRate / 2.0;
  edges[0] = std::min(kLowestFrequency, nyquist);
  for (size_t i = 1; i < kBandCount; ++i)
    edges[i] = std::min(std::sqrt(kBandCentres[i - 1] * kBandCentres[i]), nyquist);
  edges[kBandCount] = nyquist;
  return edges;
}

int BandOfFrequency(double frequency, double sampleRate) {
  const auto edges = BandEdges(sampleRate);
  if (frequency < edges[0] || frequency > edges[kBandCount]) return -1;
  for (size_t i = 0; i < kBandCount; ++i)
    if (frequency < edges[i + 1]) return static_cast<int>(i);
  return static_cast<int>(kBandCount) - 1;  // exactly at Nyquist, which belongs to the last band
}

}  // namespace fluxo::tonewell
