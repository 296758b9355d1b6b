#pragma once
#include <cstddef>
#include <cstdint>

namespace fluxo::tonewell {

// Where an audio input delivers its stream: interleaved stereo floats.
class AudioSink {
 public:
  virtual ~AudioSink() = default;
  virtual void Begin(uint32_t sampleRate) = 0;  // a stream starts
  virtual void Frames(const float* interleavedStereo, size_t frames) = 0;
  virtual void End() = 0;  // the stream ended or was lost
};

}  // namespace fluxo::tonewell
