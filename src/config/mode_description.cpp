#include "config/mode_description.h"

#include <cinttypes>
#include <cstdio>

namespace fluxo::config {

namespace {
constexpr uint32_t kTrueColourBits = 24;
}  // namespace

uint64_t ColourCount(uint32_t bitsPerPixel) {
  return uint64_t{1} << (bitsPerPixel >= 32 ? kTrueColourBits : bitsPerPixel);
}

std::string DescribeVideoMode(const VideoMode& mode) {
  // Leading spaces line the counts up in the list's proportional font.
  const char* pad = "";
  switch (mode.bitsPerPixel) {
    case 8:
      pad = "     ";
      break;
    case 15:
      pad = "    ";
      break;
    case 16:
      pad = "   ";
      break;
    case 24:
      pad = "  ";
      break;
    case 32:
      pad = " ";
      break;
    default:
      break;
  }
  char text[128];
  std::snprintf(text, sizeof text, "%s%" PRIu64 " colors at %ux%u", pad, ColourCount(mode.bitsPerPixel), mode.width,
                mode.height);
  std::string description = text;
  if (mode.refreshHz != 0 && mode.refreshHz != 1) {
    std::snprintf(text, sizeof text, " %uHz", mode.refreshHz);
    description += text;
  } else {
    description += " (default refresh)";
  }
  return description;
}

std::string DescribeScreen(uint64_t colours, int width, int height) {
  char text[96];
  std::snprintf(text, sizeof text, "%" PRIu64 " colors at %dx%d", colours, width, height);
  return text;
}

std::string VideoModeAdvice(uint64_t colours) {
  if (colours == 256) return "Fluxo is configured to take advantage of all video mode related features.";
  char text[400];
  std::snprintf(text, sizeof text,
                "Fluxo is set to run in a %" PRIu64
                " color video mode.  Many animation features are only available in 256 color video modes.  To change "
                "the video mode that the screen saver uses, see the 'Video Mode' panel.  For more information about "
                "video modes, please consult the documentation.",
                colours);
  return text;
}

}  // namespace fluxo::config
