#include "tonewell/tonewell_support.h"

#include <signal.h>
#include <unistd.h>

#include <QtCore/QCoreApplication>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <thread>

#include "platform/system/process.h"
#include "support/test_environment.h"

namespace fluxo::test {
namespace {

void PutLittleEndian(std::ofstream& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::vector<float> StereoTone(double sampleRate, double seconds, double leftHz, double leftAmplitude, double rightHz,
                              double rightAmplitude) {
  const auto frames = static_cast<size_t>(sampleRate * seconds);
  std::vector<float> samples(frames * 2);
  for (size_t n = 0; n < frames; ++n) {
    const double t = n / sampleRate;
    samples[2 * n] = static_cast<float>(leftAmplitude * std::sin(2 * std::numbers::pi * leftHz * t));
    samples[2 * n + 1] = static_cast<float>(rightAmplitude * std::sin(2 * std::numbers::pi * rightHz * t));
  }
  return samples;
}

void WriteWav(const std::string& path, const std::vector<float>& stereo, int sampleRate) {
  std::ofstream out(path, std::ios::binary);
  const auto dataBytes = static_cast<uint32_t>(stereo.size() * 2);
  out.write("RIFF", 4);
  PutLittleEndian(out, 36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  PutLittleEndian(out, 16, 4);
  PutLittleEndian(out, 1, 2);  // PCM
  PutLittleEndian(out, 2, 2);  // channels
  PutLittleEndian(out, static_cast<uint32_t>(sampleRate), 4);
  PutLittleEndian(out, static_cast<uint32_t>(sampleRate) * 4, 4);
  PutLittleEndian(out, 4, 2);
  PutLittleEndian(out, 16, 2);
  out.write("data", 4);
  PutLittleEndian(out, dataBytes, 4);
  for (float sample : stereo)
    PutLittleEndian(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(sample * 32767.0))), 2);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

std::string FindProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    const std::string candidate = folder + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv) : pid_(SpawnProcess(argv)) {}

ChildProcess::~ChildProcess() { Kill(); }

void ChildProcess::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  int code = 0;
  WaitForProcess(pid_, 10000, &code);
  pid_ = -1;
}

std::string PrivateFolder(const std::string& name) {
  const std::string folder = TestHome() + "/" + name;
  std::filesystem::create_directories(folder);
  return folder;
}

}  // namespace fluxo::test
