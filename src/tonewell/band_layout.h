#pragma once
#include <array>
#include <cstddef>

namespace fluxo::tonewell {

constexpr size_t kBandCount = 16;

// Centres of the 16 bands the saver's sound sources name, in Hz.
constexpr std::array<double, kBandCount> kBandCentres = {150,  400,  600,  800,  1000, 1500,  2000,  2500,
                                                         3250, 4000, 5000, 6250, 8000, 10000, 12500, 18000};

// Lowest frequency of the first band; the last band reaches the Nyquist limit.
constexpr double kLowestFrequency = 20.0;

// Band edges for a sample rate: edge i is where band i starts, edge i + 1
// where it ends. Inner edges lie halfway between neighbouring centres on a
// log scale (their geometric mean).
std::array<double, kBandCount + 1> BandEdges(double sampleRate);

// The band holding `frequency`, or -1 below the first band and above Nyquist.
int BandOfFrequency(double frequency, double sampleRate);

}  // namespace fluxo::tonewell
