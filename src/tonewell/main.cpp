#include <QtCore/QCoreApplication>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "sound/sound_feed.h"
#include "tonewell/command_line.h"
#include "tonewell/companion.h"
#include "tonewell/meter.h"
#include "tonewell/registration.h"

namespace {

using namespace fluxo;
using namespace fluxo::tonewell;

constexpr auto kWatchInterval = std::chrono::milliseconds(50);
constexpr size_t kMeterWidth = 50;

std::atomic<bool> g_interrupted{false};

void OnSignal(int) { g_interrupted.store(true); }

void Report(const std::string& text) { std::fprintf(stderr, "tonewell: %s\n", text.c_str()); }

int Install() {
  const std::string command = OwnCommandLine();
  if (!RegisterCompanion(command)) {
    Report("cannot write the settings store");
    return 1;
  }
  std::printf("Registered Tonewell %u.%u, started as: %s\n", CompanionVersionValue() >> 16,
              CompanionVersionValue() & 0xFFFF, command.c_str());
  return 0;
}

// Runs until Ctrl-C, the end of a file input, or a quit request of the saver
// that launched us. With the meter, draws the block about 20 times a second.
int Run(const CommandLine& line) {
  RegisterCompanion(OwnCommandLine());  // so the saver's Sound page knows the companion
  // The meter reads the block through a view of its own.
  SoundFeedBlock* view = line.meter ? AttachSoundFeed() : nullptr;
  if (line.meter && !view) {
    Report("cannot use the saver's sound block: " + SoundFeedError());
    return 1;
  }
  // A meter beside a companion that already publishes only watches it.
  const bool watchOnly = view && view->U32(feed::kCompanionActive) != 0;
  Companion companion(line.options, Report);
  std::string error;
  if (!watchOnly && !companion.Start(&error)) {
    Report(error);
    CloseSoundFeed(view);
    return 1;
  }
  if (view) std::printf("\x1b[2J");
  while (!g_interrupted.load() && (watchOnly || (!companion.InputEnded() && !companion.QuitRequested()))) {
    if (view) {
      std::printf("\x1b[H%s", MeterText(*view, kMeterWidth).c_str());
      std::fflush(stdout);
    }
    std::this_thread::sleep_for(kWatchInterval);
  }
  companion.Stop();
  CloseSoundFeed(view);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  const CommandLine line = ParseCommandLine(arguments);
  switch (line.action) {
    case CommandLine::Action::Help:
      std::fputs(UsageText().c_str(), stdout);
      return 0;
    case CommandLine::Action::Invalid:
      Report(line.error);
      std::fputs(UsageText().c_str(), stderr);
      return 2;
    case CommandLine::Action::Install:
      return Install();
    case CommandLine::Action::Run:
      break;
  }
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  // Qt DBus wants an application object; no event loop runs, its calls are synchronous.
  QCoreApplication application(argc, argv);
  return Run(line);
}
