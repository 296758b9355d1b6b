#pragma once
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "modules/plugin_host.h"
#include "settings/display_fixture.h"

namespace fluxo::test {

// Where the build puts the example and the test plug-ins.
inline std::string BuiltPlugInFolder() { return std::string(FLUXO_BINARY_DIR) + "/plugins"; }

// What the test plug-in (tests/plugins/probe_plugin.c) reports.
struct ProbeReport {
  int32_t registerCalls;
  int32_t reservedIndexResult;
  int32_t index30Result;
  int32_t negativeIndexResult;
  int32_t firstIndexResult;
  int32_t frames;
  int32_t aboutCalls;
  int32_t sawDrawTable;
};

// A fresh store whose "PlugInDir" names the built plug-ins, and the host's loader.
class PlugInTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    SetPlugInLoader(&LoadPlugIn);
    SetPlugInNotice(nullptr);
    SetPlugInFolder(BuiltPlugInFolder());
  }
  void TearDown() override {
    SetPlugInNotice(nullptr);
    Saver().configurationRun = false;
    DisplayTest::TearDown();
  }

  static void SetPlugInFolder(const std::string& folder) {
    WriteText(MakeKey(std::string("Control Panel\\") + SettingsKeyName()), "PlugInDir", folder);
  }
  // The library if this process has loaded it, else null.
  static void* LoadedLibrary(const char* file) {
    return dlopen((BuiltPlugInFolder() + "/" + file).c_str(), RTLD_NOW | RTLD_NOLOAD);
  }
  static ProbeReport& Report(const char* file = "Probe.so") {
    void* library = LoadedLibrary(file);
    EXPECT_NE(library, nullptr) << file << " is not loaded";
    auto results = reinterpret_cast<ProbeReport* (*)()>(dlsym(library, "ProbeResults"));
    return *results();
  }
  static ModuleSlot& PlugIn() { return Slot(kModulePlugIn); }
  static bool Bound() {
    const ModuleSlot& slot = PlugIn();
    return slot.frame || slot.allocate || slot.initialise || slot.free || slot.about;
  }
};

}  // namespace fluxo::test
