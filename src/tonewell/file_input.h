#pragma once
#include <string>

#include "tonewell/audio_sink.h"
#include "tonewell/stop_signal.h"

namespace fluxo::tonewell {

// Plays an audio file (anything libsndfile reads: WAV, FLAC, OGG, ...) into
// the sink once, paced in real time, so runs are reproducible without a
// sound server. Mono files feed both channels; beyond two channels only the
// first two are used. False, with a message in *error, when the file cannot
// be read.
bool PlayFile(const std::string& path, AudioSink& sink, const StopSignal& stop, std::string* error);

}  // namespace fluxo::tonewell
