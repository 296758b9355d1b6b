#pragma once
#include <optional>
#include <string>

#include "modules/kit/source_dib.h"

namespace fluxo {

// Qt's image readers stand in for the platform's graphics import filters:
// they read every picture format the slide show does not read itself.
// Palette pictures keep their pixel values and colour table (so 1- and 4-bit
// pictures keep all their pixels); all others come as 32-bit pixels. Nothing
// for an unknown format, an unreadable file or a picture beyond the slide
// show's size limit.
std::optional<kit::SourceDib> ImportPicture(const std::string& fileName);

// Makes ImportPicture the engine's importer (once, at program start).
void InstallPictureImport();

// "*.rle *.dib", then ", *.<ext>" for each format the installed readers accept.
std::string SupportedFormatsText();

}  // namespace fluxo
