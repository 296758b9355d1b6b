#pragma once
#include <optional>
#include <string>

#include "modules/kit/source_dib.h"

namespace fluxo::kit {

// Reads pictures of every format other than ".bmp", ".dib" and ".rle"; the
// engine has no readers of its own for them, so the program installs one
// (Qt's image readers) at start. Without one such files fail.
using PictureImporter = std::optional<SourceDib> (*)(const std::string& path);
void SetPictureImporter(PictureImporter importer);

// A picture file: bitmap files through our own reader (the extension decides,
// ignoring case), everything else through the installed importer.
std::optional<SourceDib> LoadPictureFile(const std::string& path);

}  // namespace fluxo::kit
