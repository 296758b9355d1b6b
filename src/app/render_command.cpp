#include "app/render_command.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

#include <QImage>

#include "app/module_table_setup.h"
#include "app/run_settings_guard.h"
#include "engine/headless_window.h"
#include "engine/module_registry.h"
#include "engine/render_thread.h"
#include "host/frame_image.h"
#include "platform/registry/registry.h"
#include "platform/system/random.h"
#include "settings/display_file.h"
#include "settings/saved_displays.h"
#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

struct RenderOptions {
  int width = 640;
  int height = 480;
  double seconds = 5.0;
  std::optional<uint32_t> seed;
  std::string out = "fluxo-frame.png";
  int module = -1;
  std::string display;  // --display: play this saved display
  std::string file;     // --file: play this display file
};

bool ParseSize(const std::string& text, int& width, int& height) {
  char* end = nullptr;
  long w = std::strtol(text.c_str(), &end, 10);
  if (end == text.c_str() || (*end != 'x' && *end != 'X')) return false;
  const char* rest = end + 1;
  long h = std::strtol(rest, &end, 10);
  if (end == rest || *end != '\0' || w < 1 || h < 1 || w > 16384 || h > 16384) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

// Returns an error text, or "" when the options are good.
std::string ParseOptions(const std::vector<std::string>& args, RenderOptions& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (i + 1 >= args.size()) return "option " + option + " needs a value";
    const std::string& value = args[++i];
    char* end = nullptr;
    if (option == "--size") {
      if (!ParseSize(value, options.width, options.height)) return "bad --size \"" + value + "\" (expected WxH)";
    } else if (option == "--seconds") {
      options.seconds = std::strtod(value.c_str(), &end);
      if (end == value.c_str() || *end != '\0' || !(options.seconds > 0) || options.seconds > 3600)
        return "bad --seconds \"" + value + "\" (expected 0 < S <= 3600)";
    } else if (option == "--seed") {
      unsigned long seed = std::strtoul(value.c_str(), &end, 10);
      if (end == value.c_str() || *end != '\0') return "bad --seed \"" + value + "\"";
      options.seed = static_cast<uint32_t>(seed);
    } else if (option == "--out") {
      options.out = value;
    } else if (option == "--module") {
      options.module = ModuleIndexOf(value.c_str());
      if (options.module < 0 || options.module == kModuleSequencer || options.module == kModulePlugIn)
        return "unknown module \"" + value + "\"";
    } else if (option == "--display") {
      options.display = value;
    } else if (option == "--file") {
      options.file = value;
    } else {
      return "unknown option " + option;
    }
  }
  if (options.out.empty()) return "--out needs a file name";
  if (!options.display.empty() && !options.file.empty()) return "--display and --file exclude each other";
  return "";
}

// --display makes the display active for the run; --file is played the way
// the saver plays a file it is given, through the file test of its start.
// Returns an error text, or "".
std::string ChooseDisplay(const RenderOptions& options, std::vector<std::string>& commandLine) {
  if (!options.display.empty()) {
    PrepareModuleTable();
    EnsureStartupDisplays();
    if (!DisplayExists(options.display)) return "no display \"" + options.display + "\"";
    if (WriteActiveDisplay(options.display) != reg::kSuccess) return "cannot write \"Active\"";
  }
  if (!options.file.empty()) {
    // Checked here, because the saver's start quietly plays "Active" instead.
    std::vector<uint8_t> bytes;
    std::ifstream in(options.file, std::ios::binary);
    std::error_code ec;
    if (!in || !std::filesystem::is_regular_file(options.file, ec)) return "cannot open \"" + options.file + "\"";
    if (std::filesystem::file_size(options.file, ec) > kMaxDisplayFileSize) return "\"" + options.file + "\" is too large";
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    ParsedDisplayFile parsed = ParseDisplayFile(bytes.data(), bytes.size());
    if (parsed.status == DisplayFileStatus::NotADisplayFile) return "\"" + options.file + "\" is not a display file";
    if (parsed.status == DisplayFileStatus::BadRecord)
      return "\"" + options.file + "\" has a bad record at byte " + std::to_string(parsed.badOffset);
    commandLine = {"fluxo", "/S", options.file};
  }
  return "";
}

}  // namespace

int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  RenderOptions options;
  if (std::string problem = ParseOptions(args, options); !problem.empty()) {
    err << "fluxo render: " << problem << "\n";
    return 1;
  }
  if (options.seed) FixTickSeed(true, *options.seed);
  Overrides().soloModule = options.module;

  RunSettingsGuard settingsGuard;
  std::vector<std::string> commandLine = {"fluxo", "render"};
  if (std::string problem = ChooseDisplay(options, commandLine); !problem.empty()) {
    err << "fluxo render: " << problem << "\n";
    return 1;
  }
  HeadlessWindow window(options.width, options.height, commandLine);
  if (!window.Open()) {
    err << "fluxo: cannot attach to the sound feed: " << SoundFeedError() << "\n";
    return 1;
  }
  std::this_thread::sleep_for(std::chrono::duration<double>(options.seconds));

  uint64_t serial = 0;
  std::vector<uint8_t> pixels;
  int width = 0, height = 0;
  bool presented = window.Exchange().TakeIfNewer(serial, pixels, width, height);
  window.Close();
  if (!presented) {
    const gdi::FrameSurface& surface = window.Surface();
    pixels.assign(surface.Pixels(), surface.Pixels() + surface.Width() * surface.Height());
    width = surface.Width();
    height = surface.Height();
  }
  QImage image = FrameToImage(pixels.data(), width, height, window.Surface().Palette());
  if (!image.save(QString::fromStdString(options.out), "PNG")) {
    err << "fluxo render: cannot write \"" << options.out << "\"\n";
    return 1;
  }
  out << options.out << "\n";
  return 0;
}

}  // namespace fluxo
