#pragma once
#include <cstdint>
#include <string>

#include "engine/video_mode.h"

namespace fluxo::config {

// The colours a mode of this depth shows. A 32-bit mode carries 24 bits of
// colour and 8 of padding, and the count of a 32-bit number would not fit
// either: such modes (and anything deeper) count as 16777216 colours.
uint64_t ColourCount(uint32_t bitsPerPixel);

// "     256 colors at 640x480 60Hz": the count right-aligned by depth, then the
// size and the refresh rate, or " (default refresh)" when it is 0 or 1.
std::string DescribeVideoMode(const VideoMode& mode);
// "65536 colors at 1024x768": the screen as it is, without the refresh rate.
std::string DescribeScreen(uint64_t colours, int width, int height);

// The Main page's advice about the colours the saver runs in.
std::string VideoModeAdvice(uint64_t colours);

}  // namespace fluxo::config
