#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "palette/palette_engine.h"

namespace fluxo {

// A .PAL file: the magic the program's data files carry (bytes 00 42 00 42),
// the size of the colours (944), then the 236 entries as red, green, blue,
// flags. Little-endian.
constexpr uint32_t kPalFileMagic = 0x42004200;
constexpr uint32_t kPalDataSize = kPaletteEntries * 4;
constexpr size_t kPalFileSize = 8 + kPalDataSize;

enum class PalFileResult { Ok, CannotOpen, TooShort, ForeignMagic, WrongSize, TooLong, WriteFailed };

// A sentence for the user saying why a file was refused or not written.
const char* PalFileResultText(PalFileResult result);

std::vector<uint8_t> SerializePalFile(const PaletteEntry* entries, uint32_t magic = kPalFileMagic);
// Anything but a complete file of exactly this layout is refused, and then
// `entries` stay as they were.
PalFileResult ParsePalFile(const uint8_t* data, size_t size, PaletteEntry* entries, uint32_t magic = kPalFileMagic);

// Creates or truncates the file; every write error is reported.
PalFileResult WritePalFile(const std::string& path, const PaletteEntry* entries, uint32_t magic = kPalFileMagic);
// Reads no more of the file than a palette file can hold (plus one byte to
// notice a longer one).
PalFileResult ReadPalFile(PaletteEntry* entries, const std::string& path, uint32_t magic = kPalFileMagic);

}  // namespace fluxo
