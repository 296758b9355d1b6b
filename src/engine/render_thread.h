#pragma once
#include <cstdint>
#include <string>

namespace fluxo {

class SaverWindow;

// The result a module's frame gives while its next step is not due yet.
constexpr int32_t kNotDueYet = 42;

// How a run differs from a plain saver run (--module NAME, --display NAME).
struct RunOverrides {
  int soloModule = -1;  // run only this module instead of the loaded display
  std::string display;  // play this saved display instead of "Active", which stays as it is
};
RunOverrides& Overrides();

// Runs the modules of one pass per the Strength rule (control 9).
void RunModulePass(uint32_t frameCounter);
// Speed k slows k passes of every 16 by 10 ms.
inline bool SpeedPauses(uint32_t frameCounter, uint32_t speed) { return speed != 0 && frameCounter % 16 < speed; }

// The render thread of a saver run, created on the first erase-background.
// True also while a thread left running by a timed-out stop has not ended.
bool RenderThreadExists();
// Starts a run unless one exists; sets SaverRunning before the thread starts.
void StartRenderThread(SaverWindow* window);
// Clear SaverRunning first. Waits up to 2000 ms for the render thread; then
// it is left to the ending process, holding what it draws into.
void StopRenderThread();

}  // namespace fluxo
