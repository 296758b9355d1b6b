#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/gdi/changed_tiles.h"
#include "platform/gdi/gdi_types.h"
#include "platform/gdi/palette_table.h"
#include "platform/gdi/region.h"

namespace fluxo::gdi {

class FrameExchange;
class RefreshClock;

struct Pen {
  enum class Style { Solid, Null } style = Style::Solid;
  int width = 0;  // 0 and 1 draw one-pixel lines; wider pens have round ends
  ColorRef color = kBlack;
  static Pen Solid(int width, ColorRef color) { return {Style::Solid, width, color}; }
  static Pen Null() { return {Style::Null, 0, kBlack}; }
  static Pen StockBlack() { return Solid(0, kBlack); }
  static Pen StockWhite() { return Solid(0, kWhite); }
};

struct Brush {
  enum class Style { Solid, Hollow } style = Style::Solid;
  ColorRef color = kWhite;
  static Brush Solid(ColorRef color) { return {Style::Solid, color}; }
  static Brush Hollow() { return {Style::Hollow, kBlack}; }
  static Brush StockBlack() { return Solid(kBlack); }
  static Brush StockWhite() { return Solid(kWhite); }
};

enum class MixMode { CopyPen, InvertDestination };
enum class BackgroundMode { Transparent, Opaque };

// An 8-bit device-independent bitmap header in palette-index mode: pixels are
// logical palette indices, rows are padded to 4 bytes, a positive height means
// bottom-up rows.
struct DibInfo {
  int32_t width = 0;
  int32_t height = 0;
};

// Edge drawing (the platform's DrawEdge).
enum EdgeFlags : uint32_t {
  kEdgeRaisedOuter = 0x1,
  kEdgeSunkenOuter = 0x2,
  kEdgeRaisedInner = 0x4,
  kEdgeSunkenInner = 0x8,
  kEdgeRaised = kEdgeRaisedOuter | kEdgeRaisedInner,
  kEdgeSunken = kEdgeSunkenOuter | kEdgeSunkenInner,
  kEdgeEtched = kEdgeSunkenOuter | kEdgeRaisedInner,
  kEdgeBump = kEdgeRaisedOuter | kEdgeSunkenInner,
};
enum BorderFlags : uint32_t {
  kBorderLeft = 0x1,
  kBorderTop = 0x2,
  kBorderRight = 0x4,
  kBorderBottom = 0x8,
  kBorderRect = 0xF,
  kBorderMiddle = 0x800,  // fill the inside
};

// Text layout flags (the platform's DrawText).
enum TextFlags : uint32_t {
  kTextLeft = 0x0,
  kTextCenter = 0x1,
  kTextVCenter = 0x4,
  kTextWordBreak = 0x10,
  kTextSingleLine = 0x20,
  kTextCalcRect = 0x400,
};

// The software palette device: an 8-bit surface of system-palette pixel values
// that modules draw into with palette-index colours. Every operation respects
// the clip region. Used from one thread (the render thread); only the palette
// table is shared with the palette thread and the presenter.
class FrameSurface {
 public:
  FrameSurface(int width, int height, std::shared_ptr<PaletteTable> palette = nullptr);
  ~FrameSurface();
  FrameSurface(const FrameSurface&) = delete;
  FrameSurface& operator=(const FrameSurface&) = delete;
  // Movable, so memory bitmaps can live in containers.
  FrameSurface(FrameSurface&&) = default;
  FrameSurface& operator=(FrameSurface&&) = default;

  int Width() const { return width_; }
  int Height() const { return height_; }
  Rect ClientRect() const { return {0, 0, width_, height_}; }
  const uint8_t* Pixels() const { return pixels_.data(); }
  // Writing through this pointer is not tracked, so every tile counts as drawn.
  uint8_t* MutablePixels() {
    drawn_.Reset(width_, height_, true);
    return pixels_.data();
  }
  uint8_t PixelAt(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
  PaletteTable& Palette() { return *palette_; }
  std::shared_ptr<PaletteTable> SharedPalette() const { return palette_; }

  // Colour resolution: the pixel value a colour reference paints with.
  uint8_t PixelOf(ColorRef color) const;

  // Objects. Select returns what it replaces.
  Pen SelectPen(const Pen& pen);
  Brush SelectBrush(const Brush& brush);
  MixMode SetMixMode(MixMode mode);
  FillMode SetPolyFillMode(FillMode mode);
  const Pen& CurrentPen() const { return pen_; }
  const Brush& CurrentBrush() const { return brush_; }

  // Lines with the current pen; a line excludes its end point.
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(const Point* points, int count);
  void PolyBezier(const Point* points, int count);  // count = 3k + 1
  // Filled shapes: interior with the current brush, outline with the current pen.
  void Polygon(const Point* points, int count);
  void Ellipse(int left, int top, int right, int bottom);
  void Rectangle(int left, int top, int right, int bottom);
  void FillRect(const Rect& rect, const Brush& brush);
  void InvertRect(const Rect& rect);
  void FillRegion(const Region& region, const Brush& brush);
  void SetPixel(int x, int y, ColorRef color);
  // The logical palette entry 0..235 nearest to the pixel's colour.
  int GetNearestEntryAt(int x, int y) const;

  // Clipping. A null region removes the clip region.
  void SelectClipRegion(const Region* region);
  void ExcludeClipRect(const Rect& rect);
  void IntersectClipRect(const Rect& rect);
  std::optional<Region> ClipRegion() const { return clip_; }

  // Copies inside the surface, as if through a temporary bitmap. A negative
  // extent mirrors: the pixels run from the given origin leftwards/upwards.
  // Source pixels outside the surface leave their destination unchanged.
  void BitBlt(int dx, int dy, int width, int height, int sx, int sy);
  void StretchBlt(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh);
  // The same from another surface (a memory bitmap).
  void BitBlt(int dx, int dy, int width, int height, const FrameSurface& source, int sx, int sy);
  void StretchBlt(int dx, int dy, int dw, int dh, const FrameSurface& source, int sx, int sy, int sw, int sh);
  // 8-bit palette-index bitmap, stretched from its source rectangle.
  void StretchDib(int dx, int dy, int dw, int dh, int sx, int sy, int sw, int sh, const uint8_t* bits,
                  const DibInfo& info);

  void DrawEdge(const Rect& rect, uint32_t edge, uint32_t borderFlags);

  // Text with the device's proportional sans-serif font.
  void SetTextColor(ColorRef color);
  void SetBackgroundColor(ColorRef color);
  void SetBackgroundMode(BackgroundMode mode);
  int TextHeight() const;
  int MeasureText(std::string_view text) const;  // width in pixels
  void TextOut(int x, int y, std::string_view text);
  // Lays text into rect (centred, word-wrapped, ...); returns the text height.
  // With kTextCalcRect nothing is drawn and rect is set to the needed size.
  int DrawText(std::string_view text, Rect& rect, uint32_t flags);

  // Presentation: hands a consistent copy to the presenter and waits for the
  // next refresh of the clock (when one is attached). Only the tiles drawn
  // into since the last flush are looked at.
  void AttachPresentation(FrameExchange* exchange, RefreshClock* clock);
  void Flush();
  // The tiles drawn into since the last flush that published.
  const ChangedTiles& DrawnTiles() const { return drawn_; }

 private:
  class Rasterizer;
  friend class Rasterizer;

  int width_;
  int height_;
  std::vector<uint8_t> pixels_;
  ChangedTiles drawn_;  // every pixel write marks its tile; cleared by each flush
  std::shared_ptr<PaletteTable> palette_;
  Pen pen_ = Pen::StockBlack();
  Brush brush_ = Brush::StockWhite();
  MixMode mix_ = MixMode::CopyPen;
  FillMode fillMode_ = FillMode::Alternate;
  Point position_;
  std::optional<Region> clip_;
  ColorRef textColor_ = kBlack;
  ColorRef backgroundColor_ = kWhite;
  BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
  FrameExchange* exchange_ = nullptr;
  RefreshClock* clock_ = nullptr;
};

}  // namespace fluxo::gdi
