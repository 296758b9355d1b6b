#include "modules/kit/bitmap_file.h"

#include <algorithm>
#include <fstream>

#include "modules/kit/rle_decoder.h"

namespace fluxo::kit {
namespace {

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3, kAlphaBitfields = 6 };

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kLargestHeaderSize = 124;

uint16_t U16(std::span<const uint8_t> b, size_t at) { return static_cast<uint16_t>(b[at] | b[at + 1] << 8); }
uint32_t U32(std::span<const uint8_t> b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

// What the headers say, checked against each other but not yet against the
// pixel data.
struct Layout {
  int32_t width = 0;
  int32_t height = 0;
  bool topDown = false;
  uint16_t bitsPerPixel = 0;
  uint32_t compression = kRgb;
  bool hasMasks = false;
  uint32_t masks[3] = {};
  size_t tableOffset = 0;
  size_t tableEntries = 0;
  size_t tableEntrySize = 4;
  size_t dataOffset = 0;
  size_t dataBytesNeeded = 0;  // exact when uncompressed, an upper bound for run-length data
};

bool DepthFitsCompression(uint16_t bits, uint32_t compression) {
  switch (compression) {
    case kRgb:
      return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case kRle8:
      return bits == 8;
    case kRle4:
      return bits == 4;
    case kBitfields:
    case kAlphaBitfields:
      return bits == 16 || bits == 32;
    default:
      return false;
  }
}

// The largest stream that can describe a picture: every pixel in an absolute
// run (a byte a pixel at most, plus run headers and padding), an end of line
// and a delta for every row, and the end mark.
size_t RleBytesBound(int64_t width, int64_t height) {
  const int64_t perRow = width + (width / 255 + 1) * 4 + 8;
  return static_cast<size_t>(perRow * height + 2);
}

std::optional<Layout> ParseLayout(std::span<const uint8_t> b) {
  if (b.size() < kFileHeaderSize + 4 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const uint32_t headerSize = U32(b, kFileHeaderSize);
  const size_t h = kFileHeaderSize;
  Layout l;
  int64_t height = 0;
  if (headerSize == kCoreHeaderSize) {
    if (b.size() < h + kCoreHeaderSize) return std::nullopt;
    l.width = U16(b, h + 4);
    height = U16(b, h + 6);
    l.bitsPerPixel = U16(b, h + 10);
    l.tableEntrySize = 3;
  } else if (headerSize >= kInfoHeaderSize && headerSize <= kLargestHeaderSize) {
    if (b.size() < h + kInfoHeaderSize) return std::nullopt;
    const int32_t width = static_cast<int32_t>(U32(b, h + 4));
    height = static_cast<int32_t>(U32(b, h + 8));
    if (width <= 0) return std::nullopt;
    l.width = width;
    l.bitsPerPixel = U16(b, h + 14);
    l.compression = U32(b, h + 16);
    l.tableEntries = U32(b, h + 32);
  } else {
    return std::nullopt;
  }
  if (height < 0) {
    l.topDown = true;
    height = -height;
  }
  if (!PictureSizeAcceptable(l.width, height)) return std::nullopt;
  l.height = static_cast<int32_t>(height);
  if (!DepthFitsCompression(l.bitsPerPixel, l.compression)) return std::nullopt;
  const bool runLength = l.compression == kRle8 || l.compression == kRle4;
  if (runLength && l.topDown) return std::nullopt;

  size_t next = h + headerSize;
  if (l.compression == kBitfields || l.compression == kAlphaBitfields) {
    // Masks follow a plain info header, or are part of a larger one.
    const size_t masksAt = headerSize == kInfoHeaderSize ? next : h + kInfoHeaderSize;
    if (b.size() < masksAt + 12) return std::nullopt;
    for (int i = 0; i < 3; ++i) l.masks[i] = U32(b, masksAt + 4 * static_cast<size_t>(i));
    l.hasMasks = true;
    if (headerSize == kInfoHeaderSize) next += l.compression == kAlphaBitfields ? 16 : 12;
  }
  if (l.bitsPerPixel <= 8) {
    const size_t full = size_t{1} << l.bitsPerPixel;
    l.tableEntries = l.tableEntries == 0 ? full : std::min<size_t>(l.tableEntries, full);
  } else {
    l.tableEntries = 0;  // a table beside true colours only suggests a palette; it is not needed
  }
  l.tableOffset = next;
  const uint32_t offBits = U32(b, 10);
  l.dataOffset = offBits != 0 ? offBits : next + l.tableEntries * l.tableEntrySize;
  if (l.dataOffset < next) return std::nullopt;  // pixels overlapping the headers
  // A table shorter than the depth implies ends where the pixels begin.
  l.tableEntries = std::min(l.tableEntries, (l.dataOffset - next) / l.tableEntrySize);
  l.dataBytesNeeded = runLength ? RleBytesBound(l.width, l.height)
                                : SourceDib::StrideOf(l.width, l.bitsPerPixel) * static_cast<size_t>(l.height);
  return l;
}

}  // namespace

size_t BitmapFileBytesNeeded(std::span<const uint8_t> head) {
  std::optional<Layout> layout = ParseLayout(head);
  if (!layout) return 0;
  return std::max(layout->tableOffset + layout->tableEntries * layout->tableEntrySize,
                  layout->dataOffset + layout->dataBytesNeeded);
}

std::optional<SourceDib> ParseBitmapFile(std::span<const uint8_t> bytes) {
  std::optional<Layout> parsed = ParseLayout(bytes);
  if (!parsed) return std::nullopt;
  const Layout& l = *parsed;
  if (l.tableOffset + l.tableEntries * l.tableEntrySize > bytes.size() || l.dataOffset > bytes.size())
    return std::nullopt;

  SourceDib dib;
  dib.width = l.width;
  dib.height = l.height;
  dib.topDown = l.topDown;
  dib.hasMasks = l.hasMasks;
  std::copy(std::begin(l.masks), std::end(l.masks), dib.masks);
  dib.colours.resize(l.tableEntries);
  for (size_t i = 0; i < l.tableEntries; ++i) {
    const size_t at = l.tableOffset + i * l.tableEntrySize;
    dib.colours[i] = {bytes[at], bytes[at + 1], bytes[at + 2]};
  }

  const std::span<const uint8_t> data = bytes.subspan(l.dataOffset);
  if (l.compression == kRle8 || l.compression == kRle4) {
    dib.bitsPerPixel = 8;
    dib.bits.assign(dib.Stride() * static_cast<size_t>(dib.height), 0);
    if (!DecodeRle(data, l.compression == kRle4, dib.width, dib.height, dib.Stride(), dib.bits)) return std::nullopt;
    return dib;
  }
  dib.bitsPerPixel = l.bitsPerPixel;
  if (data.size() < l.dataBytesNeeded) return std::nullopt;
  dib.bits.assign(data.begin(), data.begin() + static_cast<ptrdiff_t>(l.dataBytesNeeded));
  return dib;
}

std::optional<SourceDib> ReadBitmapFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::vector<uint8_t> bytes(kBitmapHeaderBytes);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<size_t>(in.gcount()));
  const size_t needed = BitmapFileBytesNeeded(bytes);
  if (needed == 0) return std::nullopt;
  if (needed > bytes.size()) {
    // Only as much as the file holds: a short file is refused by the parser.
    in.seekg(0, std::ios::end);
    const auto fileSize = static_cast<size_t>(std::max<std::streamoff>(in.tellg(), 0));
    const size_t have = bytes.size();
    bytes.resize(std::min(needed, std::max(fileSize, have)));
    in.clear();
    in.seekg(static_cast<std::streamoff>(have));
    in.read(reinterpret_cast<char*>(bytes.data() + have), static_cast<std::streamsize>(bytes.size() - have));
    bytes.resize(have + static_cast<size_t>(in.gcount()));
  }
  return ParseBitmapFile(bytes);
}

}  // namespace fluxo::kit
