/* The interface between Fluxo and plug-in module libraries.
 *
 * A plug-in is a shared library (.so) in the plug-in folder that exports the
 * entry points below with C linkage. Every entry point receives the PlugIn
 * module record and reads and writes it directly: its size, its controls and,
 * through its device field, the drawing functions of the palette device.
 * Plain C; include this header alone, nothing of the program is linked. */
#ifndef FLUXO_PLUGIN_H
#define FLUXO_PLUGIN_H

#include <stddef.h>
#include <stdint.h>

#include "fluxo/module_slot.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The record a plug-in receives. */
typedef FluxoModuleSlot FluxoPlugInRecord;

/* Control 9 belongs to the host ("Strength"); the plug-in defines others. */
#define FLUXO_STRENGTH_CONTROL 9

/* Control sources (the "Source" list of the module page). */
#define FLUXO_SOURCE_SET 0
#define FLUXO_SOURCE_RANDOM 1
#define FLUXO_SOURCE_OSCILLATE 2
#define FLUXO_SOURCE_VOLUME 3

/* A frame result that ends the frame's repetitions: the next step is not due. */
#define FLUXO_NOT_DUE_YET 42

/* ---- Host callbacks, handed to "RegisterCallbacks" in this order ---- */

/* 1 while the saver is drawing, 0 once it blanks or closes. */
typedef uint32_t (*FluxoIsDrawingEnabled)(void);
/* Defines control `index` (0..29 except 9); 1 if defined, 0 if refused.
 * The label keeps at most 31 characters. */
typedef int32_t (*FluxoDefineControl)(FluxoPlugInRecord* record, uint32_t index, const char* label, int32_t minValue,
                                      int32_t maxValue, int32_t rangeLo, int32_t rangeHi, int32_t value, int32_t source,
                                      int32_t sense, int32_t soundCapable);
/* 1 when the control changes during play (oscillating, or following live sound). */
typedef uint32_t (*FluxoIsControlDynamic)(FluxoPlugInRecord* record, uint32_t index);
/* The control's current value by its source, advancing its phase; the fraction is dropped. */
typedef int32_t (*FluxoEvaluateControl)(FluxoPlugInRecord* record, uint32_t index);
/* The same with the fraction kept. */
typedef double (*FluxoEvaluateControlReal)(FluxoPlugInRecord* record, uint32_t index);
/* New random values for "Random" controls, then every sourced control evaluated into its value. */
typedef void (*FluxoUpdateControls)(FluxoPlugInRecord* record);

/* ---- Entry points the library exports by these names ----
 * "DoDrawFrame", "DoPreInitialize", "DoInitialize", "DoClose": FluxoModuleOperation (required)
 * "DoAbout": FluxoAboutOperation (optional)
 * "RegisterCallbacks": FluxoRegisterCallbacks (required, once per load)
 * "DoPreInitializeControls": FluxoPreInitializeControls (required, after RegisterCallbacks) */
typedef void (*FluxoRegisterCallbacks)(FluxoIsDrawingEnabled isDrawingEnabled, FluxoDefineControl defineControl,
                                       FluxoIsControlDynamic isControlDynamic, FluxoEvaluateControl evaluateControl,
                                       FluxoEvaluateControlReal evaluateControlReal,
                                       FluxoUpdateControls updateControls);
typedef void (*FluxoPreInitializeControls)(FluxoPlugInRecord* record);

/* ---- Drawing into the palette device ----
 * Colours are colour references: FLUXO_PALETTE_INDEX(i) paints with animated
 * palette entry i (0..235); FLUXO_RGB(r, g, b) the nearest fixed colour
 * (black or white). During every entry point the record's `dc` field points to
 * a device whose first member is the drawing table; pass `record->dc` as the
 * first argument of every drawing function. The device is valid only during the
 * call; with no surface (the configuration dialog) the functions draw nothing. */
typedef uint32_t FluxoColorRef;
#define FLUXO_PALETTE_INDEX(i) ((FluxoColorRef)(0x01000000u | (uint32_t)(i)))
#define FLUXO_RGB(r, g, b) ((FluxoColorRef)((uint32_t)(r) | ((uint32_t)(g) << 8) | ((uint32_t)(b) << 16)))
#define FLUXO_PALETTE_ENTRIES 236

typedef struct FluxoPoint {
  int32_t x;
  int32_t y;
} FluxoPoint;

#define FLUXO_DRAW_TABLE_VERSION 1

/* Right and bottom edges are exclusive; lines exclude their end point. */
typedef struct FluxoDrawTable {
  uint32_t size;    /* sizeof(FluxoDrawTable) of the host: later versions only append */
  uint32_t version; /* FLUXO_DRAW_TABLE_VERSION */
  /* A solid pen; width 0 or 1 is the one-pixel line, wider pens have round ends.
   * A negative width selects the null pen (no outlines). */
  void (*SelectPen)(void* dc, int32_t width, FluxoColorRef color);
  /* A solid brush; `hollow` nonzero selects the hollow brush (no fills). */
  void (*SelectBrush)(void* dc, FluxoColorRef color, int32_t hollow);
  /* 0: pens paint; nonzero: pens invert what they cover. */
  void (*SetInvertMode)(void* dc, int32_t invert);
  void (*MoveTo)(void* dc, int32_t x, int32_t y);
  void (*LineTo)(void* dc, int32_t x, int32_t y);
  void (*Polyline)(void* dc, const FluxoPoint* points, int32_t count);
  void (*PolyBezier)(void* dc, const FluxoPoint* points, int32_t count); /* count = 3k + 1 */
  /* Filled with the brush, outlined with the pen. */
  void (*Polygon)(void* dc, const FluxoPoint* points, int32_t count);
  void (*Ellipse)(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
  void (*Rectangle)(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
  void (*FillRect)(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom, FluxoColorRef color);
  void (*InvertRect)(void* dc, int32_t left, int32_t top, int32_t right, int32_t bottom);
  void (*SetPixel)(void* dc, int32_t x, int32_t y, FluxoColorRef color);
  /* The palette entry 0..235 nearest the pixel's colour. */
  int32_t (*GetEntryAt)(void* dc, int32_t x, int32_t y);
  /* Copies within the surface; negative extents mirror. */
  void (*BitBlt)(void* dc, int32_t dx, int32_t dy, int32_t width, int32_t height, int32_t sx, int32_t sy);
  void (*StretchBlt)(void* dc, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw,
                     int32_t sh);
  /* An 8-bit bitmap of palette entries, rows padded to 4 bytes, bottom-up for a
   * positive height, stretched from its source rectangle. */
  void (*StretchBitmap)(void* dc, int32_t dx, int32_t dy, int32_t dw, int32_t dh, int32_t sx, int32_t sy, int32_t sw,
                        int32_t sh, const uint8_t* bits, int32_t bitmapWidth, int32_t bitmapHeight);
  /* Text in the device's sans-serif font, drawn in `color` without a background. */
  void (*TextOut)(void* dc, int32_t x, int32_t y, const char* text, FluxoColorRef color);
} FluxoDrawTable;

/* The drawing table of a record's device, or NULL outside an entry point. */
static inline const FluxoDrawTable* FluxoDraw(const FluxoPlugInRecord* record) {
  return record->dc ? *(const FluxoDrawTable* const*)record->dc : NULL;
}

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
#define FLUXO_PLUGIN_ASSERT static_assert
#else
#define FLUXO_PLUGIN_ASSERT _Static_assert
#endif
/* Every field of the record, as plug-ins see it. */
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, name) == 0, "name");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, settingsPage) == 8, "settingsPage");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, width) == 12, "width");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, height) == 16, "height");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, reserved) == 20, "reserved");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, dc) == 24, "dc");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, paletteState) == 32, "paletteState");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, recordTable) == 40, "recordTable");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, path) == 48, "path");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, pluginPath) == 308, "pluginPath");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls) == 568, "controls");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.defined) == 568, "defined");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.label) == 688, "label");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.source) == 1648, "source");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.value) == 1768, "value");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.defaultValue) == 1888, "defaultValue");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.rangeLo) == 2008, "rangeLo");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.rangeHi) == 2128, "rangeHi");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.minValue) == 2248, "minValue");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.maxValue) == 2368, "maxValue");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.sense) == 2488, "sense");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.drift) == 2608, "drift");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, controls.soundCapable) == 2728, "soundCapable");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, frame) == 2848, "frame");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, allocate) == 2856, "allocate");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, initialise) == 2864, "initialise");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, free) == 2872, "free");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoModuleSlot, about) == 2880, "about");
FLUXO_PLUGIN_ASSERT(sizeof(FluxoModuleSlot) == 2888, "record size");
FLUXO_PLUGIN_ASSERT(sizeof(float) == 4 && sizeof(double) == 8, "floating-point widths");
/* The drawing table. */
FLUXO_PLUGIN_ASSERT(sizeof(FluxoPoint) == 8, "point");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, size) == 0, "draw table size");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, version) == 4, "draw table version");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, SelectPen) == 8, "SelectPen");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, SelectBrush) == 16, "SelectBrush");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, SetInvertMode) == 24, "SetInvertMode");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, MoveTo) == 32, "MoveTo");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, LineTo) == 40, "LineTo");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, Polyline) == 48, "Polyline");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, PolyBezier) == 56, "PolyBezier");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, Polygon) == 64, "Polygon");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, Ellipse) == 72, "Ellipse");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, Rectangle) == 80, "Rectangle");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, FillRect) == 88, "FillRect");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, InvertRect) == 96, "InvertRect");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, SetPixel) == 104, "SetPixel");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, GetEntryAt) == 112, "GetEntryAt");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, BitBlt) == 120, "BitBlt");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, StretchBlt) == 128, "StretchBlt");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, StretchBitmap) == 136, "StretchBitmap");
FLUXO_PLUGIN_ASSERT(offsetof(FluxoDrawTable, TextOut) == 144, "TextOut");
FLUXO_PLUGIN_ASSERT(sizeof(FluxoDrawTable) == 152, "draw table size");
#undef FLUXO_PLUGIN_ASSERT

#endif
