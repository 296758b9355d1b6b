#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "controls/controls.h"
#include "palette/palette_engine.h"

namespace fluxo {

// Saved displays under "Control Panel\<root>\Saved": one key per display with
// a "ClearFirst" value, a "Modules\<module>" key per module taking part and a
// "Palette" key. Every save, delete and import runs as one transaction of the
// store, so other processes never see half a display.

// A display name fits the 128-byte fields that hold it ("Active" is read back
// with 128 bytes) and names one key: 1 to 127 bytes, no backslash.
constexpr size_t kDisplayNameSize = 128;
bool IsStorableDisplayName(std::string_view name);

std::string SavedKeyPath();                         // "Control Panel\<root>\Saved"
std::string DisplayKeyPath(std::string_view name);  // "...\Saved\<name>"
bool DisplayExists(std::string_view name);

// Loads a display into the module table, the live palette and the clear-first
// flag. 1 if at least one module key was found, 0 otherwise or when the
// display's plug-in cannot be loaded.
int LoadDisplay(const char* name);
// The name of the display loaded last (also in the sound feed block).
std::string CurrentDisplayName();

// Stores the current state as `name` and makes it the active display. An empty
// name does nothing. On any store failure nothing of the save remains.
void SaveCurrentDisplay(const char* name);
// The three steps of a save; each is one transaction on its own and a part of
// the caller's when called inside one. Results are the store's error codes.
long SaveModuleSettings(const ModuleSlot& slot, const char* name);
long SavePaletteSettings(const PaletteState& palette, const char* name);
long SaveDisplayHeader(const char* name);

// 1 if the display's tree was deleted.
int DeleteDisplay(const char* name);
// The saved displays in store order (at most 1000); `active` receives the
// index of the active one, or -1.
std::vector<std::string> ListDisplays(int* active = nullptr);
// True when the display's key holds the module key of `module` ("Random", "Sequencer").
bool DisplayHasModule(const char* display, const char* module);
// The value "Active" whatever its length ("" when missing).
std::string ActiveDisplayName();
long WriteActiveDisplay(std::string_view name);

// Presets: made once, when the "Saved" key does not exist yet.
void CreatePresetDisplays();
void CreatePresetDisplay(int moduleIndex, const char* prefix, int effect);
// What every start makes sure of before it loads a display: the presets when
// "Saved" is missing and the fallback "[R] Saved Sound Settings". Needs the
// module names and control definitions in the table.
void EnsureStartupDisplays();

// F1/F3: saves the running display as the first free "Capture #n".
void CaptureDisplay();
// The name the next capture gets.
std::string NextCaptureName();

// Set with a capture request when the colours on screen are to be kept as
// the display's custom palette; cleared by the capture.
void SetCaptureColours(bool on);
bool CaptureColours();

// The plug-in host's loader, called for a display with the PlugIn module;
// without one such a display does not load.
using PlugInLoader = int (*)(const char* fileName);
void SetPlugInLoader(PlugInLoader loader);

// Display files (.FLX): the display's subtree as records; see display_file.h.
int ImportDisplay(const char* path, const char* name);

extern const char kSoundSettingsDisplay[];  // "[R] Saved Sound Settings"
extern const char kTestingDisplay[];        // "Testing Current Settings"
extern const char kPresetPrefix[];          // "[D]"

}  // namespace fluxo
