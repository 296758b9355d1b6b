/* The module record shared by the saver and plug-in module libraries.
 * Plug-ins read and write the record directly, so its layout is fixed;
 * the offsets below hold on every 64-bit Linux build. */
#ifndef FLUXO_MODULE_SLOT_H
#define FLUXO_MODULE_SLOT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define FLUXO_CONTROL_COUNT 30
#define FLUXO_LABEL_SIZE 32
#define FLUXO_PATH_SIZE 260

typedef struct FluxoControlBlock {
  int32_t defined[FLUXO_CONTROL_COUNT];
  char label[FLUXO_CONTROL_COUNT][FLUXO_LABEL_SIZE];
  int32_t source[FLUXO_CONTROL_COUNT];
  int32_t value[FLUXO_CONTROL_COUNT];
  int32_t defaultValue[FLUXO_CONTROL_COUNT];
  int32_t rangeLo[FLUXO_CONTROL_COUNT];
  int32_t rangeHi[FLUXO_CONTROL_COUNT];
  int32_t minValue[FLUXO_CONTROL_COUNT];
  int32_t maxValue[FLUXO_CONTROL_COUNT];
  int32_t sense[FLUXO_CONTROL_COUNT];
  float drift[FLUXO_CONTROL_COUNT];
  int32_t soundCapable[FLUXO_CONTROL_COUNT];
} FluxoControlBlock;

typedef struct FluxoModuleSlot FluxoModuleSlot;
typedef int32_t (*FluxoModuleOperation)(FluxoModuleSlot* slot);
typedef void (*FluxoAboutOperation)(FluxoModuleSlot* slot);

struct FluxoModuleSlot {
  const char* name;
  uint32_t settingsPage;
  int32_t width;
  int32_t height;
  uint32_t reserved; /* keeps the pointers that follow 8-byte aligned */
  void* dc;          /* the frame surface */
  void* paletteState;
  FluxoModuleSlot* recordTable;
  char path[FLUXO_PATH_SIZE];
  char pluginPath[FLUXO_PATH_SIZE];
  FluxoControlBlock controls;
  FluxoModuleOperation frame;
  FluxoModuleOperation allocate;
  FluxoModuleOperation initialise;
  FluxoModuleOperation free;
  FluxoAboutOperation about;
};

#define FLUXO_MODULE_COUNT 19

#ifdef __cplusplus
}
#endif

#ifdef __cplusplus
#define FLUXO_STATIC_ASSERT static_assert
#else
#define FLUXO_STATIC_ASSERT _Static_assert
#endif
FLUXO_STATIC_ASSERT(sizeof(void*) == 8, "the record layout is defined for 64-bit builds");
FLUXO_STATIC_ASSERT(offsetof(FluxoModuleSlot, settingsPage) == 8, "settingsPage");
FLUXO_STATIC_ASSERT(offsetof(FluxoModuleSlot, width) == 12, "width");
FLUXO_STATIC_ASSERT(offsetof(FluxoModuleSlot, height) == 16, "height");
FLUXO_STATIC_ASSERT(offsetof(FluxoModuleSlot, dc) == 24, "dc");
FLUXO_STATIC_ASSERT(offsetof(FluxoModuleSlot, paletteState) == 32, "paletteState");
FLUXO_STATIC_ASSERT(offsetof(FluxoModuleSlot, recordTable) == 40, "recordTable");
FLUXO_STATIC_ASSERT(offsetof(FluxoModuleSlot, path) == 48, "path");
FLUXO_STATIC_ASSERT(offsetof(FluxoModuleSlot, pluginPath) == 308, "pluginPath");
FLUXO_STATIC_ASSERT(offsetof(FluxoModuleSlot, controls) == 568, "controls");
FLUXO_STATIC_ASSERT(sizeof(FluxoControlBlock) == 2280, "control block");
FLUXO_STATIC_ASSERT(offsetof(FluxoModuleSlot, frame) == 2848, "frame");
FLUXO_STATIC_ASSERT(offsetof(FluxoModuleSlot, about) == 2880, "about");
FLUXO_STATIC_ASSERT(sizeof(FluxoModuleSlot) == 2888, "record size");
#undef FLUXO_STATIC_ASSERT

#endif
