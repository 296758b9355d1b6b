#pragma once
#include <memory>

#include "tonewell/audio_sink.h"
#include "tonewell/feed_publisher.h"
#include "tonewell/spectrum_analyzer.h"

namespace fluxo::tonewell {

// Analyses the incoming stream and publishes every hop's levels into the
// block, with the smoothing the saver's keyStep asks for. When the stream
// ends the levels drop to zero and companionActive to 0.
class AnalysisSink : public AudioSink {
 public:
  explicit AnalysisSink(FeedPublisher& publisher) : publisher_(publisher) {}
  void Begin(uint32_t sampleRate) override;
  void Frames(const float* interleavedStereo, size_t frames) override;
  void End() override;

 private:
  FeedPublisher& publisher_;
  std::unique_ptr<SpectrumAnalyzer> analyzer_;
};

}  // namespace fluxo::tonewell
