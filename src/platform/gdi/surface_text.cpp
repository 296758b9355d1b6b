#include <algorithm>

#include "platform/gdi/font_face.h"
#include "platform/gdi/frame_surface.h"
#include "platform/gdi/surface_rasterizer.h"
#include "platform/gdi/text_decode.h"
#include "platform/gdi/text_layout.h"

namespace fluxo::gdi {
void FrameSurface::Rasterizer::DrawTextLine(const FontFace& font, std::u32string_view text, int x, int y,
                                            const Rect& limit, Ink ink, const Ink* background) {
  if (background != nullptr) {
    PaintRect(IntersectRect({x, y, x + font.Measure(text), y + font.Height()}, limit), *background);
  }
  const int baseline = y + font.Ascent();
  for (char32_t c : text) {
    const Glyph& glyph = font.GlyphOf(c);
    for (int row = 0; row < glyph.rows; ++row) {
      const int py = baseline - glyph.top + row;
      if (py < limit.top || py >= limit.bottom) continue;
      const uint8_t* on = glyph.on.data() + static_cast<size_t>(row) * glyph.width;
      for (int col = 0; col < glyph.width;) {
        if (!on[col]) {
          ++col;
          continue;
        }
        const int start = col;
        while (col < glyph.width && on[col]) ++col;
        const int x0 = std::max(x + glyph.left + start, limit.left);
        const int x1 = std::min(x + glyph.left + col, limit.right);
        PaintSpan(py, x0, x1, ink);
      }
    }
    x += glyph.advance;
  }
}

void FrameSurface::SetTextColor(ColorRef color) { textColor_ = color; }
void FrameSurface::SetBackgroundColor(ColorRef color) { backgroundColor_ = color; }
void FrameSurface::SetBackgroundMode(BackgroundMode mode) { backgroundMode_ = mode; }

int FrameSurface::TextHeight() const {
  const FontFace& font = FontFace::Default();
  return font.Loaded() ? font.Height() : 0;
}

int FrameSurface::MeasureText(std::string_view text) const { return FontFace::Default().Measure(DecodeText(text)); }

void FrameSurface::TextOut(int x, int y, std::string_view text) {
  const FontFace& font = FontFace::Default();
  if (!font.Loaded()) return;
  Rasterizer raster(*this);
  const Ink background = Rasterizer::Solid(PixelOf(backgroundColor_));
  raster.DrawTextLine(font, DecodeText(text), ClampCoordinate(x), ClampCoordinate(y), ClientRect(),
                      Rasterizer::Solid(PixelOf(textColor_)),
                      backgroundMode_ == BackgroundMode::Opaque ? &background : nullptr);
}

int FrameSurface::DrawText(std::string_view text, Rect& rectInOut, uint32_t flags) {
  const FontFace& font = FontFace::Default();
  Rect& rect = rectInOut;
  rect = {ClampCoordinate(rect.left), ClampCoordinate(rect.top), ClampCoordinate(rect.right),
          ClampCoordinate(rect.bottom)};
  if (!font.Loaded()) {
    if (flags & kTextCalcRect) rect = {rect.left, rect.top, rect.left, rect.top};
    return 0;
  }
  const std::u32string decoded = DecodeText(text);
  const std::vector<TextLine> lines =
      LayoutText(decoded, flags, rect.Width(), [&font](char32_t c) { return font.GlyphOf(c).advance; });
  const int lineHeight = font.Height();
  const int height = lineHeight * static_cast<int>(lines.size());
  if (flags & kTextCalcRect) {
    int widest = 0;
    for (const TextLine& line : lines) widest = std::max(widest, line.width);
    rect.right = rect.left + widest;
    rect.bottom = rect.top + height;
    return height;
  }
  Rasterizer raster(*this);
  const Ink ink = Rasterizer::Solid(PixelOf(textColor_));
  const Ink background = Rasterizer::Solid(PixelOf(backgroundColor_));
  // As on the platform, vertical centring applies to single-line text only.
  int y = rect.top;
  if ((flags & kTextSingleLine) && (flags & kTextVCenter)) y += (rect.Height() - lineHeight) / 2;
  for (const TextLine& line : lines) {
    const int x = (flags & kTextCenter) ? rect.left + (rect.Width() - line.width) / 2 : rect.left;
    raster.DrawTextLine(font, std::u32string_view(decoded).substr(line.begin, line.end - line.begin), x, y, rect, ink,
                        backgroundMode_ == BackgroundMode::Opaque ? &background : nullptr);
    y += lineHeight;
  }
  return height;
}

}  // namespace fluxo::gdi
