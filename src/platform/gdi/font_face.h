#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace fluxo::gdi {

// One rendered glyph, already reduced to on/off pixels: an 8-bit palette
// display cannot blend, so coverage of at least one half sets a pixel.
struct Glyph {
  int left = 0;  // from the pen position to the first column
  int top = 0;   // from the baseline up to the first row
  int width = 0;
  int rows = 0;
  int advance = 0;          // whole pixels
  std::vector<uint8_t> on;  // width * rows, 1 where the glyph sets a pixel
};

// A FreeType face at a fixed pixel size with a glyph cache. Safe to share
// between threads. A face that could not be loaded has no glyphs: it measures
// 0 and draws nothing.
class FontFace {
 public:
  FontFace(const std::string& file, int index, int pixelSize);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // The device font: DejaVu Sans (or the system's sans-serif) at the size
  // of the platform's variable-pitch system font.
  static const FontFace& Default();

  bool Loaded() const;
  int Ascent() const { return ascent_; }
  int Height() const { return height_; }
  // Control characters have no glyph and no width.
  const Glyph& GlyphOf(char32_t codePoint) const;
  int Measure(std::u32string_view text) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  int ascent_ = 0;
  int height_ = 0;
};

}  // namespace fluxo::gdi
