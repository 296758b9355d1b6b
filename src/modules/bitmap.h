#pragma once
#include "modules/builtin_modules.h"

namespace fluxo {

extern const ModuleOperations kBitmapOperations;

// Where the slide show stands in its list of files: the index of the last file
// a loader took. It is kept across pictures and displays.
uint32_t LastPictureIndex();

}  // namespace fluxo
