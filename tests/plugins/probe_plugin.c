/* A plug-in for the host's tests. It reports what the host did to it through
 * ProbeReport(); the compile definitions make the faulty variants. */
#include <stdint.h>

#include "fluxo/plugin.h"

#define EXPORT __attribute__((visibility("default")))

typedef struct ProbeReport {
  int32_t registerCalls;
  int32_t reservedIndexResult; /* DefineControl for index 9 */
  int32_t index30Result;
  int32_t negativeIndexResult;
  int32_t firstIndexResult;
  int32_t frames;
  int32_t aboutCalls;
  int32_t sawDrawTable; /* the device carried the drawing table during DoPreInitializeControls */
} ProbeReport;

static ProbeReport report;
static FluxoDefineControl defineControl;

#if defined(PROBE_CRASH_IN_START) || defined(PROBE_CRASH_IN_REGISTER) || defined(PROBE_CRASH_IN_CONTROLS) || \
    defined(PROBE_CRASH_IN_FRAME)
/* An address no mapping holds, read through a volatile so no compiler sees it coming. */
static volatile uintptr_t wildAddress = 16;
static void Crash(void) { *(volatile int32_t*)wildAddress = 1; }
#endif

#ifdef PROBE_CRASH_IN_START
__attribute__((constructor)) static void CrashWhileLoading(void) { Crash(); }
#endif

EXPORT ProbeReport* ProbeResults(void) { return &report; }

EXPORT void RegisterCallbacks(FluxoIsDrawingEnabled drawing, FluxoDefineControl define, FluxoIsControlDynamic dynamic,
                              FluxoEvaluateControl evaluate, FluxoEvaluateControlReal evaluateReal,
                              FluxoUpdateControls update) {
  (void)drawing;
  (void)dynamic;
  (void)evaluate;
  (void)evaluateReal;
  (void)update;
#ifdef PROBE_CRASH_IN_REGISTER
  Crash();
#endif
  defineControl = define;
  ++report.registerCalls;
}

EXPORT void DoPreInitializeControls(FluxoPlugInRecord* record) {
#ifdef PROBE_CRASH_IN_CONTROLS
  Crash();
#endif
#ifdef PROBE_HANG_IN_CONTROLS
  for (volatile int forever = 1; forever;) {
  }
#endif
  report.sawDrawTable = FluxoDraw(record) != NULL && FluxoDraw(record)->version == FLUXO_DRAW_TABLE_VERSION;
  report.firstIndexResult = defineControl(record, 0, "A label longer than thirty-one characters", 0, 100, 10, 90, 50,
                                          FLUXO_SOURCE_SET, 10, 1);
  defineControl(record, 29, "Last", -5, 5, -5, 5, 0, FLUXO_SOURCE_OSCILLATE, 7, 1);
  report.reservedIndexResult = defineControl(record, 9, "Mine", 0, 1, 0, 1, 0, FLUXO_SOURCE_SET, 10, 0);
  report.index30Result = defineControl(record, 30, "Beyond", 0, 1, 0, 1, 0, FLUXO_SOURCE_SET, 10, 0);
  report.negativeIndexResult = defineControl(record, (uint32_t)-1, "Negative", 0, 1, 0, 1, 0, FLUXO_SOURCE_SET, 10, 0);
}

EXPORT int32_t DoPreInitialize(FluxoPlugInRecord* record) {
  (void)record;
  return 0;
}

EXPORT int32_t DoInitialize(FluxoPlugInRecord* record) {
  (void)record;
  report.frames = 0;
  return 0;
}

/* Paints a 4x4 square in palette entry 7 at the top left; every third frame is "not due". */
EXPORT int32_t DoDrawFrame(FluxoPlugInRecord* record) {
#ifdef PROBE_CRASH_IN_FRAME
  if (report.frames == 2) Crash();
#endif
  const FluxoDrawTable* draw = FluxoDraw(record);
  if (draw) draw->FillRect(record->dc, 0, 0, 4, 4, FLUXO_PALETTE_INDEX(7));
  ++report.frames;
  return report.frames % 3 == 0 ? FLUXO_NOT_DUE_YET : 0;
}

#ifndef PROBE_WITHOUT_DOCLOSE
EXPORT int32_t DoClose(FluxoPlugInRecord* record) {
  (void)record;
  return 0;
}
#endif

EXPORT void DoAbout(FluxoPlugInRecord* record) {
  (void)record;
  ++report.aboutCalls;
}
