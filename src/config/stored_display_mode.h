#pragma once
#include <optional>

#include "engine/video_mode.h"

namespace fluxo::config {

// "DisplayMode", the mode the saver switches to: the record when one is
// stored (156 bytes), nothing otherwise.
std::optional<DisplayModeRecord> ReadStoredDisplayMode();
// True when the settings key was there to take it.
bool StoreDisplayMode(const DisplayModeRecord& record);
// True when the settings key could be opened (the value may not have existed).
bool ClearStoredDisplayMode();

}  // namespace fluxo::config
