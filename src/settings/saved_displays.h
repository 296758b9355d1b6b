#pragma once
#include <string>
#include <vector>

namespace fluxo {

// Saved displays under "Control Panel\<root>\Saved". These entry points are
// filled by the saved-displays store; until then no display can be loaded
// and the saver falls back to its built-in defaults.
int LoadDisplay(const char* name);
// Stores the current state as `name` and makes it the active display.
void SaveCurrentDisplay(const char* name);
// The saved displays in store order; `active` receives the index of the
// active one, or -1.
std::vector<std::string> ListDisplays(int* active = nullptr);
// True when the display's key holds the module key of `module` ("Random", "Sequencer").
bool DisplayHasModule(const char* display, const char* module);
void CreatePresetDisplays();
void CreatePresetDisplay(int moduleIndex, const char* prefix, int effect);
void CaptureDisplay();
int DeleteDisplay(const char* name);
int ImportDisplay(const char* path, const char* name);

// Set with a capture request when the colours on screen are to be kept as
// the display's custom palette; cleared by the capture.
void SetCaptureColours(bool on);
bool CaptureColours();

extern const char kSoundSettingsDisplay[];  // "[R] Saved Sound Settings"
extern const char kTestingDisplay[];        // "Testing Current Settings"

}  // namespace fluxo
