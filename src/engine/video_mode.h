#pragma once

namespace fluxo {

class SaverWindow;

// Switching to a stored video mode. Until mode switching exists the saver
// keeps the desktop's mode: nothing is switched and nothing needs restoring.
int SwitchVideoMode(const SaverWindow& window);
void RestoreVideoMode();
void ReleaseVideoObjects();

}  // namespace fluxo
