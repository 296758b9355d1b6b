#include "platform/gdi/frame_surface.h"
#include "platform/gdi/surface_rasterizer.h"

namespace fluxo::gdi {
namespace {

// The platform's 3-D colours in its standard scheme, as fixed palette slots.
constexpr uint8_t kFace = 7;         // C0C0C0
constexpr uint8_t kLight = 7;        // C0C0C0
constexpr uint8_t kHighlight = 255;  // FFFFFF
constexpr uint8_t kShadow = 248;     // 808080
constexpr uint8_t kDarkShadow = 0;   // 000000

struct EdgeColours {
  uint8_t topLeft;
  uint8_t bottomRight;
};

}  // namespace

void FrameSurface::DrawEdge(const Rect& rect, uint32_t edge, uint32_t borderFlags) {
  Rasterizer raster(*this);
  Rect r = rect;
  // One ring of the edge: bottom and right lines run the full length, so the
  // far corners take their colour; then the top and left lines.
  auto ring = [&](EdgeColours colours) {
    if (r.Empty()) return;
    const Ink light = Rasterizer::Solid(colours.topLeft), dark = Rasterizer::Solid(colours.bottomRight);
    const bool left = borderFlags & kBorderLeft, top = borderFlags & kBorderTop;
    const bool right = borderFlags & kBorderRight, bottom = borderFlags & kBorderBottom;
    if (bottom) raster.PaintRect({r.left, r.bottom - 1, r.right, r.bottom}, dark);
    if (right) raster.PaintRect({r.right - 1, r.top, r.right, r.bottom}, dark);
    if (top) raster.PaintRect({r.left, r.top, right ? r.right - 1 : r.right, r.top + 1}, light);
    if (left) raster.PaintRect({r.left, r.top, r.left + 1, bottom ? r.bottom - 1 : r.bottom}, light);
    r = {r.left + (left ? 1 : 0), r.top + (top ? 1 : 0), r.right - (right ? 1 : 0), r.bottom - (bottom ? 1 : 0)};
  };
  if (edge & kEdgeRaisedOuter) {
    ring({kLight, kDarkShadow});
  } else if (edge & kEdgeSunkenOuter) {
    ring({kShadow, kHighlight});
  }
  if (edge & kEdgeRaisedInner) {
    ring({kHighlight, kShadow});
  } else if (edge & kEdgeSunkenInner) {
    ring({kDarkShadow, kLight});
  }
  if (borderFlags & kBorderMiddle) raster.PaintRect(r, Rasterizer::Solid(kFace));
}

}  // namespace fluxo::gdi
