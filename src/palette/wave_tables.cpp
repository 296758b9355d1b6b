#include <algorithm>

#include "controls/controls.h"
#include "palette/palette_engine.h"
#include "platform/system/random.h"

namespace fluxo {
namespace {

constexpr double kWavePeak = 16383.0;
// One period of the triangle spans the 2048 entries: 16383 / 512.
constexpr double kStandardTriangleStep = 31.998046875;

void SmoothRepeatedly(int32_t* wave, int passes) {
  for (int i = 0; i < passes; ++i) SmoothWave(wave);
}

}  // namespace

void FillSineWave(int32_t* wave) { std::copy(SineTable, SineTable + kSineTableSize, wave); }

void FillTriangleWave(int32_t* wave, double step) {
  double x = 0.0;
  for (int i = 0; i < kWaveSize; ++i) {
    wave[i] = static_cast<int32_t>(x);
    x += step;
    if (x > kWavePeak) {
      x = kWavePeak;
      step = -step;
    } else if (x < -kWavePeak) {
      x = -kWavePeak;
      step = -step;
    }
  }
}

void FillStandardTriangle(int32_t* wave) { FillTriangleWave(wave, kStandardTriangleStep); }

void FillJaggedWave(int32_t* wave) {
  Rand();  // one draw is discarded before the step is chosen
  double step = 35.0 + 60.0 * Rand() / kRandMax;
  FillTriangleWave(wave, step);
  for (int i = 0; i < kWaveSize; ++i) {
    int32_t pull = Rand() % 19659;
    wave[i] += wave[i] > 0 ? -pull : pull;
  }
  SmoothRepeatedly(wave, 30);
}

void RoughenWave(int32_t* wave) {
  int spikes = 32 + Rand() % 85;
  int passes = 48 + Rand() % 48;
  for (int n = 0; n < spikes; ++n) {
    int p = Rand() % 1984;
    bool negative = (Rand() & 1) != 0;
    int32_t size = Rand() % 16383;
    int32_t spike = negative ? -size : size;
    wave[p + 31] = wave[p + 32] = wave[p + 33] = spike;
  }
  SmoothRepeatedly(wave, passes);
}

void SmoothWave(int32_t* wave) {
  // In place and in order: each entry sees its already smoothed left neighbour.
  for (int i = 1; i < kWaveSize - 1; ++i) wave[i] = (wave[i - 1] + wave[i] + wave[i + 1]) / 3;
}

}  // namespace fluxo
