#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "tonewell/spectrum_analyzer.h"

namespace {

using fluxo::tonewell::Levels;
using fluxo::tonewell::SpectrumAnalyzer;

// One second of 48 kHz stereo that keeps every band busy: a few tones and noise.
std::vector<float> BusySecond() {
  constexpr uint32_t kRate = 48000;
  std::vector<float> samples(kRate * 2);
  std::mt19937 random(7);
  std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
  for (size_t n = 0; n < kRate; ++n) {
    const double t = static_cast<double>(n) / kRate;
    const double tones = 0.3 * std::sin(2 * std::numbers::pi * 110 * t) +
                         0.1 * std::sin(2 * std::numbers::pi * 1500 * t) +
                         0.05 * std::sin(2 * std::numbers::pi * 9000 * t);
    samples[2 * n] = static_cast<float>(tones) + noise(random);
    samples[2 * n + 1] = static_cast<float>(0.8 * tones) + noise(random);
  }
  return samples;
}

// The companion's whole analysis of one second: 60 hops of level and band
// analysis on both channels. The goal is well under 5 ms.
void BM_AnalyseOneSecond48kStereo(benchmark::State& state) {
  const std::vector<float> second = BusySecond();
  SpectrumAnalyzer analyzer(48000);
  float sink = 0;
  for (auto _ : state) {
    analyzer.Push(second.data(), second.size() / 2, [&sink](const Levels& levels) { sink += levels.left.bands[4]; });
    benchmark::DoNotOptimize(sink);
  }
}
BENCHMARK(BM_AnalyseOneSecond48kStereo)->Unit(benchmark::kMillisecond);

}  // namespace
