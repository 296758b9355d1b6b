#include "tonewell/file_input.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

namespace fluxo::tonewell {
namespace {

struct SndFileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};

constexpr int kChunksPerSecond = 60;

}  // namespace

bool PlayFile(const std::string& path, AudioSink& sink, const StopSignal& stop, std::string* error) {
  SF_INFO info{};
  std::unique_ptr<SNDFILE, SndFileCloser> file(sf_open(path.c_str(), SFM_READ, &info));
  if (!file) {
    *error = "cannot read \"" + path + "\": " + sf_strerror(nullptr);
    return false;
  }
  if (info.channels < 1 || info.samplerate < 1) {
    *error = "\"" + path + "\" holds no audio";
    return false;
  }
  const auto channels = static_cast<size_t>(info.channels);
  const size_t chunk = std::max<size_t>(1, static_cast<size_t>(info.samplerate) / kChunksPerSecond);
  std::vector<float> raw(chunk * channels);
  std::vector<float> stereo(chunk * 2);

  sink.Begin(static_cast<uint32_t>(info.samplerate));
  const auto start = std::chrono::steady_clock::now();
  size_t played = 0;
  while (!stop.Requested()) {
    const sf_count_t got = sf_readf_float(file.get(), raw.data(), static_cast<sf_count_t>(chunk));
    if (got <= 0) break;
    const auto frames = static_cast<size_t>(got);
    for (size_t frame = 0; frame < frames; ++frame) {
      const float* in = &raw[frame * channels];
      stereo[2 * frame] = in[0];
      stereo[2 * frame + 1] = channels > 1 ? in[1] : in[0];
    }
    sink.Frames(stereo.data(), frames);
    played += frames;
    // Hand the audio out no faster than it would play.
    const auto due = start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                 std::chrono::duration<double>(static_cast<double>(played) / info.samplerate));
    if (stop.WaitUntil(due)) break;
  }
  sink.End();
  return true;
}

}  // namespace fluxo::tonewell
