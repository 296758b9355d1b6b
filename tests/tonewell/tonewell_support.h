#pragma once
#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace fluxo::test {

// Interleaved stereo samples of a sine per channel (amplitude 0 for silence).
std::vector<float> StereoTone(double sampleRate, double seconds, double leftHz, double leftAmplitude, double rightHz,
                              double rightAmplitude);
// Writes 16-bit PCM WAV; the test makes its own audio files.
void WriteWav(const std::string& path, const std::vector<float>& stereo, int sampleRate);

// Polls `condition` until it holds or `timeout` passes; pumps the Qt event
// loop when there is an application object.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// The program's path, or empty when it is not installed.
std::string FindProgram(const std::string& name);

// A helper program the test starts and ends by its process id.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv);
  ~ChildProcess();
  bool Running() const { return pid_ > 0; }
  void Kill();  // SIGKILL and reap

 private:
  pid_t pid_;
};

// A private folder below the test's FLUXO_HOME.
std::string PrivateFolder(const std::string& name);

}  // namespace fluxo::test
