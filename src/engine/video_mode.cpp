#include "engine/video_mode.h"

namespace fluxo {

int SwitchVideoMode(const SaverWindow&) { return 0; }

void RestoreVideoMode() {}

void ReleaseVideoObjects() {}

}  // namespace fluxo
