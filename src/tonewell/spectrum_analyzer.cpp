#include "tonewell/spectrum_analyzer.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>

namespace fluxo::tonewell {
namespace {

constexpr uint32_t kHopsPerSecond = 60;
constexpr double kWindowSeconds = 1.0 / 24.0;
constexpr double kSecondsPerSmoothingStep = 0.020;

// FFTW's planner is not thread-safe; plans are made and destroyed under this lock.
std::mutex g_plannerMutex;

size_t WindowSizeFor(uint32_t sampleRate) {
  size_t size = 256;
  while (size < sampleRate * kWindowSeconds) size *= 2;
  return size;
}

}  // namespace

struct SpectrumAnalyzer::Fft {
  explicit Fft(size_t size) : size(size) {
    std::lock_guard<std::mutex> lock(g_plannerMutex);
    in = fftwf_alloc_real(size);
    out = fftwf_alloc_complex(size / 2 + 1);
    plan = fftwf_plan_dft_r2c_1d(static_cast<int>(size), in, out, FFTW_ESTIMATE);
  }
  ~Fft() {
    std::lock_guard<std::mutex> lock(g_plannerMutex);
    fftwf_destroy_plan(plan);
    fftwf_free(out);
    fftwf_free(in);
  }
  size_t size;
  float* in;
  fftwf_complex* out;
  fftwf_plan plan;
};

SpectrumAnalyzer::SpectrumAnalyzer(uint32_t sampleRate)
    : sampleRate_(sampleRate), hop_(std::max<size_t>(1, sampleRate / kHopsPerSecond)) {
  const size_t size = WindowSizeFor(sampleRate);
  window_.resize(size);
  double windowPower = 0;
  for (size_t n = 0; n < size; ++n) {
    window_[n] = static_cast<float>(0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * n / size));
    windowPower += window_[n] * window_[n];
  }
  // Parseval for the one-sided spectrum of a windowed block, corrected for the
  // window's power: a full-scale sine reads a mean square of 0.5.
  spectrumScale_ = static_cast<float>(1.0 / (size * windowPower));

  bandOfBin_.assign(size / 2 + 1, -1);
  for (size_t bin = 1; bin <= size / 2; ++bin)
    bandOfBin_[bin] = BandOfFrequency(static_cast<double>(bin) * sampleRate / size, sampleRate);

  const auto edges = BandEdges(sampleRate);
  const double span = std::log(edges[kBandCount] / edges[0]);
  for (size_t band = 0; band < kBandCount; ++band) {
    const double share = span > 0 ? std::log(edges[band + 1] / edges[band]) / span : 0;
    bandWeight_[band] = share > 0 ? static_cast<float>(1.0 / std::sqrt(share)) : 0.0f;
  }

  for (auto& history : history_) history.assign(size, 0.0f);
  fft_ = std::make_unique<Fft>(size);
  SetSmoothing(kDefaultSmoothing);
}

SpectrumAnalyzer::~SpectrumAnalyzer() = default;

void SpectrumAnalyzer::SetSmoothing(uint32_t step) {
  if (step < kMinSmoothing || step > kMaxSmoothing) step = kDefaultSmoothing;
  const double releaseSeconds = step * kSecondsPerSmoothingStep;
  const double hopSeconds = static_cast<double>(hop_) / sampleRate_;
  release_ = static_cast<float>(std::exp(-hopSeconds / releaseSeconds));
}

void SpectrumAnalyzer::Push(const float* interleaved, size_t frames,
                            const std::function<void(const Levels&)>& publish) {
  const size_t size = window_.size();
  for (size_t frame = 0; frame < frames; ++frame) {
    history_[0][writePos_] = interleaved[2 * frame];
    history_[1][writePos_] = interleaved[2 * frame + 1];
    writePos_ = writePos_ + 1 == size ? 0 : writePos_ + 1;
    if (++sinceHop_ == hop_) {
      sinceHop_ = 0;
      AnalyseHop();
      publish(levels_);
    }
  }
}

void SpectrumAnalyzer::AnalyseHop() {
  AnalyseChannel(history_[0], levels_.left);
  AnalyseChannel(history_[1], levels_.right);
}

void SpectrumAnalyzer::AnalyseChannel(const std::vector<float>& history, ChannelLevels& out) {
  const size_t size = window_.size();
  // Oldest sample first: the ring's write position holds the oldest one.
  double sumSquares = 0;
  for (size_t n = 0; n < size; ++n) {
    size_t at = writePos_ + n;
    if (at >= size) at -= size;
    const float sample = history[at];
    sumSquares += sample * sample;
    fft_->in[n] = sample * window_[n];
  }
  fftwf_execute(fft_->plan);

  std::array<float, kBandCount> power{};
  for (size_t bin = 1; bin < bandOfBin_.size(); ++bin) {
    const int band = bandOfBin_[bin];
    if (band < 0) continue;
    const float re = fft_->out[bin][0];
    const float im = fft_->out[bin][1];
    const float twoSided = bin == size / 2 ? 1.0f : 2.0f;
    power[band] += twoSided * (re * re + im * im);
  }

  const float level = static_cast<float>(std::sqrt(sumSquares / size));
  out.level = std::max(level, out.level * release_);
  for (size_t band = 0; band < kBandCount; ++band) {
    const float value = std::sqrt(power[band] * spectrumScale_) * bandWeight_[band];
    out.bands[band] = std::max(value, out.bands[band] * release_);
  }
}

}  // namespace fluxo::tonewell
