#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "tonewell/pulse_capture.h"
#include "tonewell/stop_signal.h"

namespace fluxo {
class SoundFeedBlock;
}

namespace fluxo::tonewell {

struct CompanionOptions {
  PulseOptions pulse;
  std::string inputFile;   // analyse this file instead of capturing
  std::string busAddress;  // D-Bus for MPRIS; empty: the session bus
  bool followPlayer = true;
  std::chrono::milliseconds trackPoll{500};
};

// The running companion: an audio thread (capture or file, analysis,
// publishing the levels) and a player thread (track information, the
// saver's keys), both writing into the shared block.
class Companion {
 public:
  using Report = std::function<void(const std::string&)>;
  Companion(CompanionOptions options, Report report);
  ~Companion();
  Companion(const Companion&) = delete;
  Companion& operator=(const Companion&) = delete;

  // Attaches to the block and starts the threads. False, with the reason in
  // *error, when the block is refused.
  bool Start(std::string* error);
  // Stops the threads, leaves companionActive 0 and detaches.
  void Stop();

  // A file input has played to its end (or could not be read).
  bool InputEnded() const { return inputEnded_.load(); }
  // A saver that launched the companion has ended (companionQuit is 1).
  bool QuitRequested() const;

 private:
  void RunAudio();
  void RunPlayer();

  CompanionOptions options_;
  Report report_;
  SoundFeedBlock* block_ = nullptr;
  StopSignal stop_;
  std::atomic<bool> inputEnded_{false};
  std::thread audio_;
  std::thread player_;
};

}  // namespace fluxo::tonewell
