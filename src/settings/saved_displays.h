#pragma once

namespace fluxo {

// Saved displays under "Control Panel\<root>\Saved". These entry points are
// filled by the saved-displays store; until then no display can be loaded
// and the saver falls back to its built-in defaults.
int LoadDisplay(const char* name);
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
