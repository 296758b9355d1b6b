#include "tonewell/analysis_sink.h"

namespace fluxo::tonewell {

void AnalysisSink::Begin(uint32_t sampleRate) {
  // A new stream starts from silence, not from the tail of the last one.
  analyzer_ = std::make_unique<SpectrumAnalyzer>(sampleRate);
}

void AnalysisSink::Frames(const float* interleavedStereo, size_t frames) {
  if (!analyzer_) return;
  analyzer_->SetSmoothing(publisher_.Smoothing());
  analyzer_->Push(interleavedStereo, frames, [this](const Levels& levels) { publisher_.Publish(levels); });
}

void AnalysisSink::End() {
  analyzer_.reset();
  publisher_.Silence();
}

}  // namespace fluxo::tonewell
