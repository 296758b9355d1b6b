#include "palette/pal_file.h"

#include <cstdio>
#include <memory>

namespace fluxo {
namespace {

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t GetU32(const uint8_t* bytes) {
  return bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

const char* PalFileResultText(PalFileResult result) {
  switch (result) {
    case PalFileResult::Ok:
      return "The palette file was read.";
    case PalFileResult::CannotOpen:
      return "The file cannot be opened.";
    case PalFileResult::TooShort:
      return "The file is too short to be a palette file.";
    case PalFileResult::ForeignMagic:
      return "The file is not a palette file.";
    case PalFileResult::WrongSize:
      return "The file does not hold 236 palette colours.";
    case PalFileResult::TooLong:
      return "The file is longer than a palette file.";
    case PalFileResult::WriteFailed:
      return "The palette file could not be written.";
  }
  return "";
}

std::vector<uint8_t> SerializePalFile(const PaletteEntry* entries, uint32_t magic) {
  std::vector<uint8_t> out;
  out.reserve(kPalFileSize);
  PutU32(out, magic);
  PutU32(out, kPalDataSize);
  for (int i = 0; i < kPaletteEntries; ++i)
    out.insert(out.end(), {entries[i].red, entries[i].green, entries[i].blue, entries[i].flags});
  return out;
}

PalFileResult ParsePalFile(const uint8_t* data, size_t size, PaletteEntry* entries, uint32_t magic) {
  if (size < 4) return PalFileResult::TooShort;
  if (GetU32(data) != magic) return PalFileResult::ForeignMagic;
  if (size < 8) return PalFileResult::TooShort;
  if (GetU32(data + 4) != kPalDataSize) return PalFileResult::WrongSize;
  if (size < kPalFileSize) return PalFileResult::TooShort;
  if (size > kPalFileSize) return PalFileResult::TooLong;
  for (int i = 0; i < kPaletteEntries; ++i) {
    const uint8_t* e = data + 8 + 4 * i;
    entries[i] = {e[0], e[1], e[2], e[3]};
  }
  return PalFileResult::Ok;
}

PalFileResult WritePalFile(const std::string& path, const PaletteEntry* entries, uint32_t magic) {
  const std::vector<uint8_t> bytes = SerializePalFile(entries, magic);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return PalFileResult::WriteFailed;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  // The close flushes: a full disk may only show here.
  const bool closed = std::fclose(file) == 0;
  return written && closed ? PalFileResult::Ok : PalFileResult::WriteFailed;
}

PalFileResult ReadPalFile(PaletteEntry* entries, const std::string& path, uint32_t magic) {
  std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return PalFileResult::CannotOpen;
  uint8_t bytes[kPalFileSize + 1];
  const size_t size = std::fread(bytes, 1, sizeof bytes, file.get());
  if (std::ferror(file.get())) return PalFileResult::CannotOpen;
  return ParsePalFile(bytes, size, entries, magic);
}

}  // namespace fluxo
