#include "engine/overlay.h"

namespace fluxo {

void StartOverlay() {}

void DrawOverlayBoxes(gdi::FrameSurface&) {}

}  // namespace fluxo
