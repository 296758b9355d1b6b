#pragma once
#include <functional>
#include <string>

#include "install/setup_prompts.h"

// The installation itself: what the wizard's "Next" on the options page does.
namespace fluxo::install {

// The running setup program and the folder it was started from, which holds
// everything that gets installed.
struct SetupSource {
  std::string program;
  std::string folder;
};
// `programPath` as the program was started (argv[0]): a bare name is looked
// up in PATH; the folder is taken as it stands, so a link in a release
// folder installs from that folder.
SetupSource SetupSourceFolder(const std::string& programPath);

// The recorded "FluxoDir", else "Fluxo" in the program files folder.
std::string DefaultInstallFolder();
// Creates the installation folder (one level; the program files folder
// itself too, which a fresh account may not have yet) and writes its plain
// form back (no trailing or doubled slashes). False for a name that is not
// an absolute path, a folder that cannot be made or one that takes no files.
bool PrepareInstallFolder(std::string& folder);

struct InstallOptions {
  bool defaultSaver = true;           // "Set as your default screen saver"
  bool launcher = true;               // "Add saver launcher to your task bar"
  bool companion = true;              // "Install Tonewell"
  bool presets = true;                // "Load Preset Displays"
  bool desktopConfigure = false;      // "Add configuration utility to Desktop"
  bool desktopSavedDisplays = false;  // "Add Saved Settings to Desktop"
};

bool SourceHas(const SetupSource& source, const char* name);
// The options page's choices: the launcher and the companion only when the
// source folder has them.
InstallOptions DefaultOptions(const SetupSource& source);

// Receives the progress bar's position (0..100).
using ProgressSink = std::function<void(int)>;

// The whole installation into `folder`. False (after the "Install Problem..."
// message) when the saver itself could not be installed; the rest of the
// steps then did not run.
bool RunInstallation(const std::string& folder, const InstallOptions& options, const SetupSource& source,
                     SetupPrompts& prompts, const ProgressSink& progress);

// Its parts.
int InstallFiles(const std::string& folder, const SetupSource& source, bool loadPresets, SetupPrompts& prompts,
                 const ProgressSink& progress);
// Moves every display file directly in `fromFolder` into `toFolder`.
void MoveDisplayFiles(const std::string& fromFolder, const std::string& toFolder);
// Imports every display file beside setup (named after the file, replacing a
// display of that name) and copies it into the settings folder; progress
// runs up to 85.
void ImportPresetFiles(const std::string& settingsFolder, const SetupSource& source, const ProgressSink& progress);
// The slogan as stored: up to 255 bytes, ending before the first byte
// outside 32..122.
std::string SloganFromBytes(const std::string& bytes);
// Makes the installed saver the one the desktop runs.
void SetAsDefaultSaver();

}  // namespace fluxo::install
