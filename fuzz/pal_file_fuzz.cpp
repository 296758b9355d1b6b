// Feeds arbitrary bytes to the palette file reader. A refused file leaves the
// colours untouched; an accepted one writes back to the very same bytes.
#include <cstdint>
#include <cstring>
#include <vector>

#include "palette/pal_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fluxo::PaletteEntry entries[fluxo::kPaletteEntries];
  std::memset(entries, 0xA5, sizeof entries);
  fluxo::PaletteEntry before[fluxo::kPaletteEntries];
  std::memcpy(before, entries, sizeof entries);

  const fluxo::PalFileResult result = fluxo::ParsePalFile(data, size, entries);
  if (result != fluxo::PalFileResult::Ok) {
    if (std::memcmp(before, entries, sizeof entries) != 0) __builtin_trap();
    return 0;
  }
  const std::vector<uint8_t> again = fluxo::SerializePalFile(entries);
  if (again.size() != size || std::memcmp(again.data(), data, size) != 0) __builtin_trap();
  return 0;
}
