#pragma once
#include <chrono>
#include <functional>
#include <string>

#include "tonewell/audio_sink.h"
#include "tonewell/stop_signal.h"

namespace fluxo::tonewell {

// The source name PulseAudio (and pipewire-pulse) resolves to the monitor of
// the default output: what the desktop plays.
constexpr char kDesktopMonitor[] = "@DEFAULT_MONITOR@";

struct PulseOptions {
  std::string server;  // empty: the user's default server
  std::string source = kDesktopMonitor;
  std::chrono::milliseconds retry{2000};
  std::chrono::milliseconds connectTimeout{5000};
};

// Records the source as stereo floats at the server's rate into the sink
// until `stop`. Without a server, without the source, or when the server
// goes away it reports why, ends the sink's stream and tries again after
// `retry`, never blocking longer than a tenth of a second at a time.
void RunPulseCapture(const PulseOptions& options, AudioSink& sink, const StopSignal& stop,
                     const std::function<void(const std::string&)>& report);

}  // namespace fluxo::tonewell
