#pragma once
#include "engine/video_mode.h"

namespace fluxo::config {

// The mode the primary screen is in: colour depth, size in device pixels and
// refresh rate (0 when the screen does not say). All zero without a screen.
VideoMode CurrentScreenMode();

}  // namespace fluxo::config
