#pragma once
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// Writes bitmap files byte by byte for the reader's tests.
namespace fluxo::test {

inline void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

struct BitmapLayout {
  int32_t width = 4;
  int32_t height = 2;  // negative: top-down
  uint16_t bits = 8;
  uint32_t compression = 0;
  std::vector<uint32_t> masks;    // written after the info header
  std::vector<uint32_t> colours;  // 0x00RRGGBB
  std::vector<uint8_t> pixels;    // rows as stored, or the run-length stream
  bool coreHeader = false;
};

inline std::vector<uint8_t> BitmapBytes(const BitmapLayout& s) {
  std::vector<uint8_t> info;
  if (s.coreHeader) {
    Put32(info, 12);
    Put16(info, static_cast<uint32_t>(s.width));
    Put16(info, static_cast<uint32_t>(s.height));
    Put16(info, 1);
    Put16(info, s.bits);
  } else {
    Put32(info, 40);
    Put32(info, static_cast<uint32_t>(s.width));
    Put32(info, static_cast<uint32_t>(s.height));
    Put16(info, 1);
    Put16(info, s.bits);
    Put32(info, s.compression);
    Put32(info, static_cast<uint32_t>(s.pixels.size()));
    Put32(info, 0);
    Put32(info, 0);
    Put32(info, static_cast<uint32_t>(s.colours.size()));
    Put32(info, 0);
    for (uint32_t m : s.masks) Put32(info, m);
  }
  for (uint32_t c : s.colours) {
    info.push_back(static_cast<uint8_t>(c));
    info.push_back(static_cast<uint8_t>(c >> 8));
    info.push_back(static_cast<uint8_t>(c >> 16));
    if (!s.coreHeader) info.push_back(0);
  }
  std::vector<uint8_t> file{'B', 'M'};
  const uint32_t offset = static_cast<uint32_t>(14 + info.size());
  Put32(file, static_cast<uint32_t>(offset + s.pixels.size()));
  Put32(file, 0);
  Put32(file, offset);
  file.insert(file.end(), info.begin(), info.end());
  file.insert(file.end(), s.pixels.begin(), s.pixels.end());
  return file;
}

inline std::vector<uint32_t> GreyTable(int entries) {
  std::vector<uint32_t> table;
  for (int i = 0; i < entries; ++i) {
    const uint32_t g = static_cast<uint32_t>(i * 255 / (entries - 1));
    table.push_back(g << 16 | g << 8 | g);
  }
  return table;
}

// An 8-bit picture with a grey table whose pixel at (x, y) (rows bottom-up)
// is value(x, y).
template <class Value>
BitmapLayout EightBitPicture(int width, int height, Value value) {
  BitmapLayout s;
  s.width = width;
  s.height = height;
  s.bits = 8;
  s.colours = GreyTable(256);
  const int stride = (width + 3) & ~3;
  s.pixels.assign(static_cast<size_t>(stride) * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.pixels[static_cast<size_t>(y) * stride + x] = value(x, y);
  return s;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace fluxo::test
