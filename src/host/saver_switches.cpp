#include "host/saver_switches.h"

#include <charconv>

namespace fluxo {
namespace {

// The switches, or the reason they were refused.
struct Parsed {
  SaverSwitches switches;
  std::string problem;
};

Parsed Refused(std::string why) { return {{}, std::move(why)}; }

Parsed WithWindow(SaverMode mode, const std::string& idText, const std::string& source) {
  const uint64_t id = ParseWindowId(idText);
  if (id == 0) return Refused(source + ": '" + idText + "' is not a window id");
  return {{mode, id, {}}, {}};
}

bool HasColonSuffix(const std::string& word, const char* head) {
  return word.size() > 2 && word.compare(0, 2, head) == 0 && word[2] == ':';
}

Parsed Parse(const std::vector<std::string>& args, const char* envWindow) {
  const bool hasEnvWindow = envWindow != nullptr && *envWindow != '\0';
  if (args.empty()) {
    if (hasEnvWindow) return WithWindow(SaverMode::Embedded, envWindow, "XSCREENSAVER_WINDOW");
    return {};
  }

  const std::string& word = args[0];
  const std::string* value = args.size() > 1 ? &args[1] : nullptr;  // for switches that take one
  size_t used = 1;
  Parsed result;
  if (word == "/s") {
    result.switches.mode = SaverMode::FullScreen;
  } else if (word == "/S") {
    if (!value || value->empty()) return Refused("'/S' needs a display file");
    result.switches.mode = SaverMode::PlayFile;
    result.switches.file = *value;
    used = 2;
  } else if (word == "/p" || word == "/P" || word == "-window-id") {
    if (!value) return Refused("'" + word + "' needs a window id");
    result = WithWindow(SaverMode::Embedded, *value, word);
    used = 2;
  } else if (HasColonSuffix(word, "/p") || HasColonSuffix(word, "/P")) {
    result = WithWindow(SaverMode::Embedded, word.substr(3), word.substr(0, 2));
  } else if (word == "/c" || word == "/C") {
    result.switches.mode = SaverMode::Configure;
  } else if (HasColonSuffix(word, "/c") || HasColonSuffix(word, "/C")) {
    result = WithWindow(SaverMode::Configure, word.substr(3), word.substr(0, 2));
  } else if (word == "-root" || word == "--root") {
    // xscreensaver starts hacks with -root (version 6 writes it --root) and
    // names its own window in the environment.
    if (hasEnvWindow) return WithWindow(SaverMode::Embedded, envWindow, "XSCREENSAVER_WINDOW");
    result.switches.mode = SaverMode::FullScreen;
  } else {
    return Refused("unknown switch '" + word + "'");
  }
  if (result.problem.empty() && args.size() > used) return Refused("unexpected argument '" + args[used] + "'");
  return result;
}

}  // namespace

uint64_t ParseWindowId(const std::string& text) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    first += 2;
    base = 16;
  }
  uint64_t id = 0;
  auto [end, ec] = std::from_chars(first, last, id, base);
  if (ec != std::errc() || end != last || first == last) return 0;
  return id;
}

SaverSwitches ParseSaverSwitches(const std::vector<std::string>& args, const char* xscreensaverWindowEnv,
                                 std::string& problem) {
  Parsed parsed = Parse(args, xscreensaverWindowEnv);
  problem = std::move(parsed.problem);
  return problem.empty() ? parsed.switches : SaverSwitches{};
}

}  // namespace fluxo
