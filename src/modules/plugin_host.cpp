#include "modules/plugin_host.h"

#include <dirent.h>
#include <dlfcn.h>
#include <strings.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

#include "engine/module_registry.h"
#include "modules/plugin_host_callbacks.h"
#include "modules/plugin_host_device.h"
#include "modules/plugin_host_guard.h"
#include "platform/registry/registry.h"
#include "platform/system/saver_state.h"
#include "settings/settings_store.h"

namespace fluxo {
namespace {

constexpr char kPlugInDirValue[] = "PlugInDir";
constexpr uint32_t kPathSize = FLUXO_PATH_SIZE;
// A library that has not defined its controls by then is taken as hung.
constexpr uint32_t kProbeTimeoutMs = 5000;

std::atomic<PlugInNotice> g_notice{nullptr};

// The entry points of the library bound to the PlugIn record.
struct PlugInEntries {
  FluxoModuleOperation frame = nullptr;
  FluxoModuleOperation allocate = nullptr;
  FluxoModuleOperation initialise = nullptr;
  FluxoModuleOperation free = nullptr;
  FluxoAboutOperation about = nullptr;
  FluxoRegisterCallbacks registerCallbacks = nullptr;
  FluxoPreInitializeControls preInitializeControls = nullptr;
};
PlugInEntries g_bound;

void Unbind(ModuleSlot& slot) {
  slot.frame = slot.allocate = slot.initialise = slot.free = nullptr;
  slot.about = nullptr;
  g_bound = {};
}

// ---- Calls into the library -------------------------------------------

struct OperationCall {
  FluxoModuleOperation entry;
  ModuleSlot* slot;
  int32_t result;
};

void CallOperation(void* context) {
  auto* call = static_cast<OperationCall*>(context);
  call->result = call->entry(call->slot);
}

void CallAbout(void* context) {
  auto* call = static_cast<OperationCall*>(context);
  g_bound.about(call->slot);
}

void CallRegisterCallbacks(void* context) {
  static_cast<PlugInEntries*>(context)->registerCallbacks(
      &plugin_callbacks::IsDrawingEnabled, &plugin_callbacks::DefineControl, &plugin_callbacks::IsControlDynamic,
      &plugin_callbacks::EvaluateControl, &plugin_callbacks::EvaluateControlReal, &plugin_callbacks::UpdateControls);
}

void CallPreInitializeControls(void* context) {
  auto* call = static_cast<OperationCall*>(context);
  g_bound.preInitializeControls(call->slot);
}

// Runs one entry point with the device in the record. A fault unbinds the
// library and is raised as PlugInFault.
int32_t RunEntry(void (*thunk)(void*), FluxoModuleOperation entry, ModuleSlot* slot, const char* name) {
  OperationCall call{entry, slot, 0};
  PlugInDeviceScope device(slot);
  if (!CallWithFaultGuard(thunk, &call)) {
    device.Restore();
    Unbind(*slot);
    throw PlugInFault(name);
  }
  return call.result;
}

int32_t GuardedFrame(ModuleSlot* slot) { return RunEntry(&CallOperation, g_bound.frame, slot, "DoDrawFrame"); }
int32_t GuardedAllocate(ModuleSlot* slot) {
  return RunEntry(&CallOperation, g_bound.allocate, slot, "DoPreInitialize");
}
int32_t GuardedInitialise(ModuleSlot* slot) {
  return RunEntry(&CallOperation, g_bound.initialise, slot, "DoInitialize");
}
int32_t GuardedFree(ModuleSlot* slot) { return RunEntry(&CallOperation, g_bound.free, slot, "DoClose"); }
void GuardedAbout(ModuleSlot* slot) { RunEntry(&CallAbout, nullptr, slot, "DoAbout"); }

// ---- Loading ------------------------------------------------------------

enum class LoadOutcome { Loaded, NotLoadable, MissingEntryPoint, Faulted };

template <typename Entry>
bool Require(void* library, const char* name, Entry& entry) {
  entry = reinterpret_cast<Entry>(RequireEntryPoint(library, name));
  return entry != nullptr;
}

LoadOutcome LoadInProcess(const std::string& path, ModuleSlot& slot) {
  Unbind(slot);
  // Every symbol is bound now: a missing one refuses the library here rather
  // than ending the program at its first call.
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    std::fprintf(stderr, "Cannot load plug-in module %s: %s\n", path.c_str(), dlerror());
    return LoadOutcome::NotLoadable;
  }
  PlugInEntries entries;
  if (!Require(library, "DoDrawFrame", entries.frame) || !Require(library, "DoPreInitialize", entries.allocate) ||
      !Require(library, "DoInitialize", entries.initialise) || !Require(library, "DoClose", entries.free))
    return LoadOutcome::MissingEntryPoint;
  entries.about = reinterpret_cast<FluxoAboutOperation>(dlsym(library, "DoAbout"));
  slot.recordTable = Modules().slots.data();
  if (!Require(library, "RegisterCallbacks", entries.registerCallbacks) ||
      !Require(library, "DoPreInitializeControls", entries.preInitializeControls))
    return LoadOutcome::MissingEntryPoint;

  g_bound = entries;
  bool clean = CallWithFaultGuard(&CallRegisterCallbacks, &entries);
  if (clean) {
    for (int i = 0; i < FLUXO_CONTROL_COUNT; ++i) slot.controls.defined[i] = 0;
    OperationCall call{nullptr, &slot, 0};
    PlugInDeviceScope device(&slot);
    clean = CallWithFaultGuard(&CallPreInitializeControls, &call);
  }
  if (!clean) {
    Unbind(slot);
    return LoadOutcome::Faulted;
  }
  plugin_callbacks::DefineStrengthControl(&slot);
  slot.frame = &GuardedFrame;
  slot.allocate = &GuardedAllocate;
  slot.initialise = &GuardedInitialise;
  slot.free = &GuardedFree;
  slot.about = entries.about ? &GuardedAbout : nullptr;
  return LoadOutcome::Loaded;
}

struct ProbeRequest {
  const std::string* path;
  ModuleSlot* slot;
  LoadOutcome outcome;
};

void ProbeLoad(void* context) {
  auto* request = static_cast<ProbeRequest*>(context);
  request->outcome = LoadInProcess(*request->path, *request->slot);
}

// The child's side of the trial load. The guard also covers the library's
// start-up code; the child ends right after, so nothing broken is used again.
// Its notices stay unshown: the parent repeats the load and shows them.
int ProbeInChild(void* context) {
  auto* request = static_cast<ProbeRequest*>(context);
  g_notice.store(nullptr);
  if (!CallWithFaultGuard(&ProbeLoad, request)) return 2;
  switch (request->outcome) {
    case LoadOutcome::Loaded:
    case LoadOutcome::MissingEntryPoint:
      return 0;  // safe to load here
    case LoadOutcome::NotLoadable:
      return 1;
    case LoadOutcome::Faulted:
      break;
  }
  return 2;
}

// A plain file name: a display (perhaps imported from a file) cannot point the
// loader at a library outside the plug-in folder.
bool IsPlainFileName(const char* name) {
  if (!name || !*name || std::strlen(name) >= kPathSize) return false;
  if (std::strchr(name, '/')) return false;
  return std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0;
}

std::string PlugInFolder() {
  char folder[kPathSize];
  ReadSetting(kPlugInDirValue, SettingsKeyName(), reg::kRegSz, folder, sizeof folder);
  folder[sizeof folder - 1] = '\0';
  return folder;
}

bool HasLibrarySuffix(const char* name) {
  const size_t length = std::strlen(name);
  return length > 3 && strcasecmp(name + length - 3, ".so") == 0;
}

}  // namespace

void* RequireEntryPoint(void* library, const char* name) {
  void* entry = library ? dlsym(library, name) : nullptr;
  if (!entry && Saver().configurationRun)
    if (PlugInNotice notice = g_notice.load()) {
      char text[400];
      std::snprintf(text, sizeof text,
                    "This plug-in module does not export a required entry point.\n\nPlease inform the developer of "
                    "this plug-in module that the'%s' entry point has not been properly exported.",
                    name);
      notice("Invalid Plug-In Module", text);
    }
  return entry;
}

int LoadPlugIn(const char* fileName) {
  ModuleSlot& slot = Slot(kModulePlugIn);
  const std::string folder = PlugInFolder();
  if (!IsPlainFileName(fileName) || folder.empty()) {
    Unbind(slot);
    return 0;
  }
  const std::string path = folder + "/" + fileName;
  ProbeRequest request{&path, &slot, LoadOutcome::NotLoadable};
  if (const int trial = RunInChildProcess(&ProbeInChild, &request, kProbeTimeoutMs); trial != 0) {
    // A library that cannot be loaded has said why in the child.
    if (trial != 1)
      std::fprintf(stderr, "Plug-in module %s faulted or hung while loading; it is not used\n", path.c_str());
    Unbind(slot);
    return 0;
  }
  return LoadInProcess(path, slot) == LoadOutcome::Loaded ? 1 : 0;
}

PlugInList ListPlugIns() {
  PlugInList list;
  const std::string folder = PlugInFolder();
  if (DIR* dir = folder.empty() ? nullptr : opendir(folder.c_str())) {
    while (const dirent* entry = readdir(dir))
      if (HasLibrarySuffix(entry->d_name) && std::strlen(entry->d_name) < kPathSize)
        list.names.emplace_back(entry->d_name);
    closedir(dir);
  }
  ModuleSlot& slot = Slot(kModulePlugIn);
  if (slot.pluginPath[0]) {
    for (size_t i = 0; i < list.names.size(); ++i)
      if (list.names[i] == slot.pluginPath) list.selected = static_cast<int>(i);
  } else if (!list.names.empty()) {
    list.selected = 0;
    std::snprintf(slot.pluginPath, sizeof slot.pluginPath, "%s", list.names[0].c_str());
  }
  return list;
}

void SetPlugInNotice(PlugInNotice notice) { g_notice.store(notice); }

}  // namespace fluxo
