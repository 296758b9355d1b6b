#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "tonewell/band_layout.h"

namespace fluxo::tonewell {

// What the analysis publishes for one channel. `level` is the RMS of the
// samples (full-scale sine 0.707); each band holds the RMS of the signal's
// part inside the band, divided by the square root of the band's share of
// the log-frequency range 20 Hz..Nyquist, so pink noise (equal energy per
// octave) at RMS L reads L in every band and the bands compare fairly.
struct ChannelLevels {
  float level = 0;
  std::array<float, kBandCount> bands{};
};

struct Levels {
  ChannelLevels left;
  ChannelLevels right;
};

// Smoothing steps the saver's F11/F12 keys choose from; each step adds
// 20 ms to the release time of the published levels.
constexpr uint32_t kMinSmoothing = 1;
constexpr uint32_t kMaxSmoothing = 20;
constexpr uint32_t kDefaultSmoothing = 5;

// Level and band analysis of a stereo stream with FFTW (single precision).
// Every hop (a 60th of a second) it looks at the last window of about 42 ms
// and hands out levels that rise at once and fall with a short release, so
// beats show.
class SpectrumAnalyzer {
 public:
  explicit SpectrumAnalyzer(uint32_t sampleRate);
  ~SpectrumAnalyzer();
  SpectrumAnalyzer(const SpectrumAnalyzer&) = delete;
  SpectrumAnalyzer& operator=(const SpectrumAnalyzer&) = delete;

  uint32_t SampleRate() const { return sampleRate_; }
  size_t WindowFrames() const { return window_.size(); }
  size_t HopFrames() const { return hop_; }

  // Steps outside 1..20 (an untouched block holds 0) mean the default.
  void SetSmoothing(uint32_t step);

  // Feeds interleaved stereo frames; calls `publish` after every hop.
  void Push(const float* interleaved, size_t frames, const std::function<void(const Levels&)>& publish);

 private:
  struct Fft;
  void AnalyseHop();
  void AnalyseChannel(const std::vector<float>& history, ChannelLevels& out);

  uint32_t sampleRate_;
  size_t hop_;
  size_t sinceHop_ = 0;
  size_t writePos_ = 0;
  float release_ = 0;          // factor per hop
  std::vector<float> window_;  // Hann
  float spectrumScale_ = 0;    // turns summed |X|^2 into mean square
  std::vector<int> bandOfBin_;
  std::array<float, kBandCount> bandWeight_{};
  std::array<std::vector<float>, 2> history_;  // the last window of each channel, a ring
  std::unique_ptr<Fft> fft_;
  Levels levels_;
};

}  // namespace fluxo::tonewell
