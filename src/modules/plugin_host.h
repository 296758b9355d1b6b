#pragma once
#include <stdexcept>
#include <string>
#include <vector>

#include "fluxo/plugin.h"

namespace fluxo {

// Module 16, "PlugIn": runs a drawing module from a shared library in the
// plug-in folder ("PlugInDir"). The slot's operations call the library's
// entry points through a fault guard and with the drawing device in place.

// Loads `fileName` (a file name inside the plug-in folder, no path) into the
// PlugIn record: binds its entry points, hands it the callbacks, lets it define
// its controls and defines "Strength". 1 if loaded, 0 otherwise; on 0 the
// record has no operations, so nothing of the library runs.
//
// The library is first tried in a short-lived child process, so a fault in its
// start-up code, "RegisterCallbacks" or "DoPreInitializeControls" (or one that
// never returns) ends only the child.
int LoadPlugIn(const char* fileName);

// The entry point `name` of a loaded library, or null. When one is missing
// while the configuration dialog runs, the "Invalid Plug-In Module" notice
// names it.
void* RequireEntryPoint(void* library, const char* name);

// The libraries of the plug-in folder ("*.so", any case) in the order the file
// system lists them, and the one the PlugIn record names. With an empty
// "PluginPath" the first is selected and becomes the record's "PluginPath".
struct PlugInList {
  std::vector<std::string> names;
  int selected = -1;
};
PlugInList ListPlugIns();

// Shows a message box without owner and with the stop icon (the configuration
// dialog installs it; without one nothing is shown).
using PlugInNotice = void (*)(const char* title, const char* text);
void SetPlugInNotice(PlugInNotice notice);

// Raised by the PlugIn record's operations when the library faults inside an
// entry point. The record loses its operations first, so the library is never
// called again; the render thread records the fault like any other.
class PlugInFault : public std::runtime_error {
 public:
  explicit PlugInFault(const std::string& entryPoint) : std::runtime_error("plug-in module faulted in " + entryPoint) {}
};

}  // namespace fluxo
