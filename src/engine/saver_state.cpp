#include "engine/saver_state.h"

namespace fluxo {
namespace {
SaverState g_saver;
}

SaverState& Saver() { return g_saver; }

void ResetSaverState() {
  SaverState& s = g_saver;
  for (auto* flag : {&s.saverRunning, &s.fullScreen, &s.modeSwitched, &s.inputSeen, &s.ignoreMouse, &s.paletteReady,
                     &s.palettePaused})
    flag->store(0);
  s.frameCounter.store(0);
  s.startTime.store(0);
  s.createTime = s.mouseWindowStart = 0;
  s.mouseCount = s.renderSuspended = s.paletteSuspended = s.launchedCompanion = 0;
  s.configurationRun = false;
  s.renderGate.Open();
  s.paletteGate.Open();
}

}  // namespace fluxo
