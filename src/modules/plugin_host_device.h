#pragma once
#include "fluxo/plugin.h"

namespace fluxo {

// What a plug-in's record holds in its device field while an entry point
// runs: the drawing table first (the only part plug-ins know), then the
// surface the table draws into (null when there is none).
struct PlugInDevice {
  const FluxoDrawTable* draw;
  void* surface;
};

const FluxoDrawTable& PlugInDrawTable();

// Puts the device in place of the record's surface for the length of one
// entry point and gives the surface back afterwards.
class PlugInDeviceScope {
 public:
  explicit PlugInDeviceScope(FluxoModuleSlot* slot);
  ~PlugInDeviceScope() { Restore(); }
  PlugInDeviceScope(const PlugInDeviceScope&) = delete;
  PlugInDeviceScope& operator=(const PlugInDeviceScope&) = delete;
  void Restore();

 private:
  FluxoModuleSlot* slot_;
  void* surface_;
  PlugInDevice device_;
};

}  // namespace fluxo
