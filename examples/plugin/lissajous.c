/* Lissajous: an example plug-in module for Fluxo.
 *
 * Draws a Lissajous figure in a walking palette colour and erases the figure
 * it drew "Trail" frames earlier, so a ribbon of colour sweeps across the
 * screen while the palette animates it. Build it as a shared library and put
 * it in the plug-in folder (the "PlugInDir" setting). */
#include <math.h>
#include <stdlib.h>

#include "fluxo/plugin.h"

#define EXPORT __attribute__((visibility("default")))

enum { kPoints = 0, kSpeed = 1, kWidth = 2, kTrail = 3 };
#define MAX_TRAIL 64
#define MAX_POINTS 300

static FluxoIsControlDynamic isControlDynamic;
static FluxoEvaluateControl evaluateControl;
static FluxoDefineControl defineControl;
static FluxoUpdateControls updateControls;

typedef struct Figure {
  double phase;  /* where the figure stands; each frame moves it */
  int32_t width; /* pen width it was drawn with */
} Figure;

typedef struct State {
  Figure trail[MAX_TRAIL]; /* the figures on screen, oldest first from `next` */
  int next;
  int drawn;
  double phase;
  int32_t colour;
  FluxoPoint points[MAX_POINTS + 1];
} State;

/* One module record, one state: the host runs a single PlugIn record. */
static State* state;

EXPORT void RegisterCallbacks(FluxoIsDrawingEnabled drawing, FluxoDefineControl define, FluxoIsControlDynamic dynamic,
                              FluxoEvaluateControl evaluate, FluxoEvaluateControlReal evaluateReal,
                              FluxoUpdateControls update) {
  (void)drawing;
  (void)evaluateReal;
  defineControl = define;
  isControlDynamic = dynamic;
  evaluateControl = evaluate;
  updateControls = update;
}

EXPORT void DoPreInitializeControls(FluxoPlugInRecord* record) {
  /* index, label, min, max, range low, range high, default, source, sense, sound-capable */
  defineControl(record, kPoints, "Points", 8, MAX_POINTS, 8, MAX_POINTS, 120, FLUXO_SOURCE_SET, 10, 0);
  defineControl(record, kSpeed, "Speed", 1, 100, 1, 100, 12, FLUXO_SOURCE_SET, 10, 1);
  defineControl(record, kWidth, "Width", 1, 20, 1, 20, 2, FLUXO_SOURCE_SET, 10, 1);
  defineControl(record, kTrail, "Trail Length", 1, MAX_TRAIL, 1, MAX_TRAIL, 24, FLUXO_SOURCE_SET, 10, 0);
}

EXPORT int32_t DoPreInitialize(FluxoPlugInRecord* record) {
  (void)record;
  state = calloc(1, sizeof *state);
  return 0;
}

EXPORT int32_t DoInitialize(FluxoPlugInRecord* record) {
  if (!state) return 0;
  updateControls(record); /* random draws and the first evaluation of sourced controls */
  state->next = 0;
  state->drawn = 0;
  state->phase = 0.0;
  return 0;
}

EXPORT int32_t DoClose(FluxoPlugInRecord* record) {
  (void)record;
  free(state);
  state = NULL;
  return 0;
}

/* The control's value for this frame: live controls follow their source. */
static int32_t Current(FluxoPlugInRecord* record, uint32_t index) {
  return isControlDynamic(record, index) ? evaluateControl(record, index) : record->controls.value[index];
}

static void DrawFigure(FluxoPlugInRecord* record, const Figure* figure, FluxoColorRef colour) {
  const FluxoDrawTable* draw = FluxoDraw(record);
  int32_t count = record->controls.value[kPoints];
  if (count > MAX_POINTS) count = MAX_POINTS;
  const double cx = record->width / 2.0, cy = record->height / 2.0;
  for (int32_t i = 0; i <= count; ++i) {
    const double t = 2.0 * M_PI * i / count;
    state->points[i].x = (int32_t)(cx + 0.45 * record->width * sin(3.0 * t + figure->phase));
    state->points[i].y = (int32_t)(cy + 0.45 * record->height * sin(2.0 * t + figure->phase * 0.5));
  }
  draw->SelectPen(record->dc, figure->width, colour);
  draw->Polyline(record->dc, state->points, count + 1);
}

EXPORT int32_t DoDrawFrame(FluxoPlugInRecord* record) {
  if (!state || !FluxoDraw(record)) return 0;
  int32_t trail = record->controls.value[kTrail];
  if (trail > MAX_TRAIL) trail = MAX_TRAIL;
  if (trail < 1) trail = 1;
  /* Erase the oldest figure once the trail is full. */
  if (state->drawn >= trail)
    DrawFigure(record, &state->trail[(state->next + MAX_TRAIL - trail) % MAX_TRAIL], FLUXO_RGB(0, 0, 0));

  Figure figure = {state->phase, Current(record, kWidth)};
  state->colour = (state->colour + 1) % FLUXO_PALETTE_ENTRIES;
  DrawFigure(record, &figure, FLUXO_PALETTE_INDEX(state->colour));
  state->trail[state->next] = figure;
  state->next = (state->next + 1) % MAX_TRAIL;
  if (state->drawn < MAX_TRAIL) ++state->drawn;
  state->phase += Current(record, kSpeed) * 0.002;
  return 0;
}
