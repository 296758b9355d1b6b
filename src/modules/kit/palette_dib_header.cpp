#include "modules/kit/palette_dib_header.h"

namespace fluxo::kit {

void BlitIndexRow(gdi::FrameSurface& surface, PaletteDibHeader& header, int x, int y, int width,
                  const uint8_t* indices, int count) {
  if (count <= 0) return;
  header.SetSize(count, 1);
  surface.StretchDib(x, y, width, 1, 0, 0, count, 1, indices, header.info);
}

void BlitIndexColumn(gdi::FrameSurface& surface, PaletteDibHeader& header, int x, int y, int height,
                     const uint8_t* indices, int count) {
  if (count <= 0) return;
  header.SetSize(1, count);
  surface.StretchDib(x, y, 1, height, 0, 0, 1, count, indices, header.info);
}

}  // namespace fluxo::kit
