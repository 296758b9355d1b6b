#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/display_command.h"
#include "app/render_command.h"
#include "config/configuration_run.h"
#include "engine/module_registry.h"
#include "engine/render_thread.h"
#include "host/picture_import.h"
#include "host/saver_host.h"
#include "install/setup_entry.h"
#include "platform/registry/store.h"
#include "platform/system/program_version.h"
#include "platform/system/runtime_folder.h"
#include "platform/system/startup_trace.h"
#include "settings/reg_command.h"
#include "settings/saved_displays.h"

namespace {

const char kHelp[] =
    "Fluxo 3.9.990 - a music-reactive, palette-animated screen saver\n"
    "\n"
    "Usage:\n"
    "  fluxo                     run the saver in a normal window\n"
    "  fluxo /s                  run the saver full screen\n"
    "  fluxo /p <window-id>      run the preview inside a foreign window\n"
    "  fluxo /c                  open the configuration dialog\n"
    "  fluxo /S <file.FLX>       play a display file full screen\n"
    "  fluxo -root               run full screen (X screen-saver convention)\n"
    "  fluxo -window-id <id>     draw into an existing X window (also $XSCREENSAVER_WINDOW)\n"
    "  fluxo ... --module NAME   run that module alone instead of the active display\n"
    "  fluxo ... --display NAME  play that saved display (\"Active\" stays as it is)\n"
    "  fluxo render [options]    run headless and write the presented frame as PNG:\n"
    "      --size WxH            surface size (default 640x480)\n"
    "      --seconds S           how long to run (default 5)\n"
    "      --seed N              fix the random seed\n"
    "      --out FILE.png        where to write (default fluxo-frame.png)\n"
    "      --module NAME         run that module alone (e.g. Bezier)\n"
    "      --display NAME        play that saved display\n"
    "      --file FILE.FLX       play a display file\n"
    "  fluxo display list        the saved displays, the active one marked with *\n"
    "  fluxo display show NAME | delete NAME | activate NAME\n"
    "  fluxo display export NAME FILE.FLX\n"
    "  fluxo display import FILE.FLX [--name NAME] [--force]\n"
    "  fluxo reg query KEY [/v NAME]\n"
    "  fluxo reg add KEY /v NAME /t REG_SZ|REG_DWORD|REG_BINARY /d DATA [/f]\n"
    "  fluxo reg delete KEY [/v NAME] [/f]\n"
    "  fluxo reg export KEY FILE [/y]  (/y overwrites an existing file)\n"
    "  fluxo reg import FILE     read and write the settings (keys HKCU\\..., HKLM\\..., HKCR\\...)\n"
    "  fluxo --help | --version\n"
    "  fluxo-setup [--unattended FOLDER]\n"
    "                            install for the current user (this program under a setup name)\n"
    "\n"
    "Keys while the saver runs:\n"
    "  Tab          random displays on/off\n"
    "  F1           capture the running display as \"Capture #n\"\n"
    "  F2           restart the modules\n"
    "  F3           capture with the colours on screen as a custom palette\n"
    "  F4           change the colour patterns now\n"
    "  F5           pause colours and drawing (again: go on)\n"
    "  F6           pause drawing          F7  pause colours\n"
    "  F8           reverse the colour flow\n"
    "  F9           ignore the mouse (again: follow it)\n"
    "  F11 / F12    step the sound companion's smoothing down / up\n"
    "  Left/Right   previous / next track (sound companion)\n"
    "  Up/Down      volume up / down (sound companion)\n"
    "  0-9          seek to that tenth of the track (sound companion)\n"
    "  keypad + / - slow the animation down / speed it up\n"
    "  Delete       stop drawing and leave a black screen\n"
    "  any other key, a click or a mouse movement ends the saver.\n"
    "\n"
    "Settings live in $XDG_CONFIG_HOME/fluxo (or $FLUXO_HOME/config when FLUXO_HOME is set).\n";

// Qt aborts without a display; say what to do instead.
bool DisplayAvailable() {
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
    if (const char* value = std::getenv(name); value && *value) return true;
  return false;
}

// Takes "OPTION VALUE" out of the saver's words. False when the option is
// there without a value.
bool TakeOption(std::vector<std::string>& args, const char* option, std::optional<std::string>& value) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] != option) continue;
    if (i + 1 >= args.size()) return false;
    value = args[i + 1];
    args.erase(args.begin() + i, args.begin() + i + 2);
    return true;
  }
  return true;
}

// "--module NAME" runs one module alone, "--display NAME" plays a saved
// display without making it "Active" (the configuration's previews).
bool TakeRunOverrides(std::vector<std::string>& args, std::string& problem) {
  std::optional<std::string> module, display;
  if (!TakeOption(args, "--module", module)) {
    problem = "--module needs a module name";
    return false;
  }
  if (!TakeOption(args, "--display", display)) {
    problem = "--display needs a display name";
    return false;
  }
  if (module) {
    const int index = fluxo::ModuleIndexOf(module->c_str());
    if (index < 0 || index == fluxo::kModulePlugIn || index == fluxo::kModuleSequencer) {
      problem = "unknown module \"" + *module + "\"";
      return false;
    }
    fluxo::Overrides().soloModule = index;
  }
  if (display) {
    if (!fluxo::IsStorableDisplayName(*display) || !fluxo::DisplayExists(*display)) {
      problem = "no display \"" + *display + "\"";
      return false;
    }
    fluxo::Overrides().display = *display;
  }
  return true;
}

int Run(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (!args.empty()) {
    const std::string& first = args.front();
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (first == "--help" || first == "-h") {
      std::cout << kHelp;
      return 0;
    }
    if (first == "--version") {
      std::cout << fluxo::kProgramMajor << '.' << fluxo::kProgramMinor << '.' << fluxo::kProgramBuild << '\n';
      return 0;
    }
    if (first == "reg") return fluxo::RunRegCommand(rest, std::cout, std::cerr);
    if (first == "display") return fluxo::RunDisplayCommand(rest, std::cout, std::cerr);
    if (first == "render") return fluxo::RunRenderCommand(rest, std::cout, std::cerr);
  }
  // Started under a setup name ("fluxo-setup"), the program installs itself.
  if (fluxo::install::IsSetupProgram(argv[0])) return fluxo::install::RunSetup(argc, argv);
  std::string problem;
  fluxo::SaverSwitches switches;
  if (TakeRunOverrides(args, problem))
    switches = fluxo::ParseSaverSwitches(args, std::getenv("XSCREENSAVER_WINDOW"), problem);
  if (!problem.empty()) {
    std::cerr << "fluxo: " << problem << "\nTry 'fluxo --help'.\n";
    return 1;
  }
  if (!DisplayAvailable()) {
    std::cerr << "fluxo: no display found; 'fluxo render' runs the saver without one\n";
    return 1;
  }
  // Qt takes options of its own from the words it is given ("--display" is
  // one of them): it gets the words without the run overrides.
  std::vector<char*> words{argv[0]};
  for (std::string& word : args) words.push_back(word.data());
  const int wordCount = static_cast<int>(words.size());
  words.push_back(nullptr);
  if (switches.mode == fluxo::SaverMode::Configure)
    return fluxo::config::RunConfiguration(wordCount, words.data(), switches.windowId);
  return fluxo::RunSaverHost(switches, wordCount, words.data());
}

}  // namespace

int main(int argc, char** argv) {
  fluxo::TraceStartup("main entered");
  fluxo::EnsureRuntimeFolder();
  fluxo::InstallPictureImport();
  const int status = Run(argc, argv);
  // A clean close folds the database's write-ahead log back in and removes it.
  fluxo::reg::store::Close();
  return status;
}
