#include "modules/plugin_host_device.h"

#include <string_view>
#include <vector>

#include "platform/gdi/frame_surface.h"

namespace fluxo {
namespace {

gdi::FrameSurface* SurfaceOf(void* dc) {
  return dc ? static_cast<gdi::FrameSurface*>(static_cast<PlugInDevice*>(dc)->surface) : nullptr;
}

// Point lists come from foreign code: a negative count draws nothing.
std::vector<gdi::Point> Points(const FluxoPoint* points, int32_t count) {
  std::vector<gdi::Point> out;
  if (!points || count <= 0) return out;
  out.reserve(static_cast<size_t>(count));
  for (int32_t i = 0; i < count; ++i) out.push_back({points[i].x, points[i].y});
  return out;
}

void SelectPen(void* dc, int32_t width, FluxoColorRef color) {
  if (auto* s = SurfaceOf(dc)) s->SelectPen(width < 0 ? gdi::Pen::Null() : gdi::Pen::Solid(width, color));
}
void SelectBrush(void* dc, FluxoColorRef color, int32_t hollow) {
  if (auto* s = SurfaceOf(dc)) s->SelectBrush(hollow ? gdi::Brush::Hollow() : gdi::Brush::Solid(color));
}
void SetInvertMode(void* dc, int32_t invert) {
  if (auto* s = SurfaceOf(dc)) s->SetMixMode(invert ? gdi::MixMode::InvertDestination : gdi::MixMode::CopyPen);
}
void MoveTo(void* dc, int32_t x, int32_t y) {
  if (auto* s = SurfaceOf(dc)) s->MoveTo(x, y);
}
void LineTo(void* dc, int32_t x, int32_t y) {
  if (auto* s = SurfaceOf(dc)) s->LineTo(x, y);
}
void Polyline(void* dc, const FluxoPoint* points, int32_t count) {
  auto* s = SurfaceOf(dc);
  if (!s || count < 2) return;
  std::vector<gdi::Point> p = Points(points, count);
  s->Polyline(p.data(), count);
}
void PolyBezier(void* dc, const FluxoPoint* points, int32_t count) {
  auto* s = SurfaceOf(dc);
  if (!s || count < 4 || (count - 1) % 3 != 0) return;
  std::vector<gdi::Point> p = Points(points, count);
  s->PolyBezier(p.data(), count);
}
void Polygon(void* dc, const FluxoPoint* points, int32_t count) {
  auto* s = SurfaceOf(dc);
  if (!s || count < 2) return;
  std::vector<gdi::Point> p = Points(points, count);
  s->Polygon(p.data(), count);
}
void Ellipse(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (auto* s = SurfaceOf(dc)) s->Ellipse(left, top, right, bottom);
}
void Rectangle(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (auto* s = SurfaceOf(dc)) s->Rectangle(left, top, right, bottom);
}
void FillRect(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom, FluxoColorRef color) {
  if (auto* s = SurfaceOf(dc)) s->FillRect({left, top, right, bottom}, gdi::Brush::Solid(color));
}
void InvertRect(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  if (auto* s = SurfaceOf(dc)) s->InvertRect({left, top, right, bottom});
}
void SetPixel(void* dc, int32_t x, int32_t y, FluxoColorRef color) {
  if (auto* s = SurfaceOf(dc)) s->SetPixel(x, y, color);
}
int32_t GetEntryAt(void* dc, int32_t x, int32_t y) {
  auto* s = SurfaceOf(dc);
  if (!s || x < 0 || y < 0 || x >= s->Width() || y >= s->Height()) return 0;
  return s->GetNearestEntryAt(x, y);
}
void BitBlt(void* dc, int32_t dx, int32_t dy, int32_t width, int32_t height, int32_t sx, int32_t sy) {
  if (auto* s = SurfaceOf(dc)) s->BitBlt(dx, dy, width, height, sx, sy);
}
void StretchBlt(void* dc, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw,
                int32_t sh) {
  if (auto* s = SurfaceOf(dc)) s->StretchBlt(dx, dy, dw, dh, sx, sy, sw, sh);
}
void StretchBitmap(void* dc, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw,
                   int32_t sh, const uint8_t* bits, int32_t bitmapWidth, int32_t bitmapHeight) {
  auto* s = SurfaceOf(dc);
  if (!s || !bits || bitmapWidth <= 0 || bitmapHeight == 0) return;
  s->StretchDib(dx, dy, dw, dh, sx, sy, sw, sh, bits, gdi::DibInfo{bitmapWidth, bitmapHeight});
}
void TextOut(void* dc, int32_t x, int32_t y, const char* text, FluxoColorRef color) {
  auto* s = SurfaceOf(dc);
  if (!s || !text) return;
  s->SetTextColor(color);
  s->SetBackgroundMode(gdi::BackgroundMode::Transparent);
  s->TextOut(x, y, std::string_view(text));
}

constexpr FluxoDrawTable kDrawTable = {
    sizeof(FluxoDrawTable),
    FLUXO_DRAW_TABLE_VERSION,
    &SelectPen,
    &SelectBrush,
    &SetInvertMode,
    &MoveTo,
    &LineTo,
    &Polyline,
    &PolyBezier,
    &Polygon,
    &Ellipse,
    &Rectangle,
    &FillRect,
    &InvertRect,
    &SetPixel,
    &GetEntryAt,
    &BitBlt,
    &StretchBlt,
    &StretchBitmap,
    &TextOut,
};

}  // namespace

const FluxoDrawTable& PlugInDrawTable() { return kDrawTable; }

PlugInDeviceScope::PlugInDeviceScope(FluxoModuleSlot* slot)
    : slot_(slot), surface_(slot->dc), device_{&kDrawTable, slot->dc} {
  slot_->dc = &device_;
}

void PlugInDeviceScope::Restore() {
  if (slot_->dc == &device_) slot_->dc = surface_;
}

}  // namespace fluxo
