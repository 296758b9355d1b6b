#include "modules/kit/overlay_boxes.h"

namespace fluxo {
namespace {
OverlayBoxState g_boxes[kOverlayBoxCount];
}

OverlayBoxState* OverlayBoxes() { return g_boxes; }

void ResetOverlayBoxes() {
  for (auto& box : g_boxes) box = OverlayBoxState{};
}

void ExcludeOverlayBoxes(gdi::FrameSurface& surface) {
  for (const auto& box : g_boxes)
    if (box.hideTime != 0xFFFFFFFFu) surface.ExcludeClipRect(box.rect);
}

}  // namespace fluxo
