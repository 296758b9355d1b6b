#include "tonewell/command_line.h"

namespace fluxo::tonewell {

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  auto invalid = [&line](std::string error) {
    line.action = CommandLine::Action::Invalid;
    line.error = std::move(error);
    return line;
  };
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= arguments.size() || arguments[i + 1].empty()) return false;
      into = arguments[++i];
      return true;
    };
    if (argument == "--help" || argument == "-h") {
      line.action = CommandLine::Action::Help;
    } else if (argument == "--install" || argument == "/install") {
      line.action = CommandLine::Action::Install;
    } else if (argument == "/PPLAY") {
      // The saver's launch switch: start publishing now, which a run always does.
    } else if (argument == "--meter") {
      line.meter = true;
    } else if (argument == "--no-player") {
      line.options.followPlayer = false;
    } else if (argument == "--source") {
      if (!value(line.options.pulse.source)) return invalid("--source needs a source name");
    } else if (argument == "--server") {
      if (!value(line.options.pulse.server)) return invalid("--server needs a server address");
    } else if (argument == "--input") {
      if (!value(line.options.inputFile)) return invalid("--input needs a file");
    } else {
      return invalid("unknown argument \"" + argument + "\"");
    }
  }
  return line;
}

std::string UsageText() {
  return "Usage: tonewell [--source NAME | --input FILE] [--server ADDRESS] [--no-player] [--meter]\n"
         "       tonewell --install\n"
         "       tonewell --help\n"
         "\n"
         "Listens to what the desktop plays and publishes sound levels, 16 frequency bands and the\n"
         "playing track for the Fluxo screen saver. Run it before the saver: tonewell & fluxo\n"
         "\n"
         "  --source NAME     record this PulseAudio/PipeWire source (a microphone, a line in)\n"
         "                    instead of the monitor of the default output\n"
         "  --input FILE      analyse an audio file (WAV, FLAC, OGG) in real time instead\n"
         "  --server ADDRESS  the sound server to use (default: the user's own)\n"
         "  --no-player       leave the media player alone: no track information, no player keys\n"
         "  --meter           show the published levels and bands as bars (Ctrl-C ends)\n"
         "  --install         register the version and this command line for the saver, then exit\n"
         "  --help            show this text\n"
         "\n"
         "It ends on Ctrl-C, and when a saver that started it ends.\n";
}

}  // namespace fluxo::tonewell
