#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/module_registry.h"
#include "palette/palette_engine.h"
#include "platform/system/saver_state.h"
#include "registry/fresh_store.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"
#include "settings/sequence_items.h"
#include "settings/settings_store.h"
#include "settings/stored_values.h"

namespace fluxo::test {

// An empty store, the module table as the registry prepares it (names and
// control definitions, no display) and a palette engine without a device.
class DisplayTest : public FreshStore {
 protected:
  void SetUp() override {
    FreshStore::SetUp();
    ResetSaverState();
    ResetMainSettings();
    ClearModuleTable();
    for (int i = 0; i < kModuleCount; ++i) Slot(i).name = kModuleNames[i];
    DefineAllControls();
    MarkSoundCapableControls();
    palette = CreatePaletteEngine(nullptr);
    ASSERT_NE(palette, nullptr);
    CurrentSequence() = SequenceList{};
    SetCaptureColours(false);
    SetPlugInLoader(nullptr);
  }
  void TearDown() override {
    DestroyPaletteEngine(palette);
    FreshStore::TearDown();
  }

  static void ActivateOnly(int module) {
    for (int i = 0; i < kModuleCount; ++i) SetActive(i, i == module);
  }
  static ControlBlock& Controls(int module) { return Slot(module).controls; }

  static reg::Key OpenKey(const std::string& path) {
    reg::Key key;
    EXPECT_EQ(reg::OpenKey(reg::Hive::CurrentUser, path, key), reg::kSuccess) << path;
    return key;
  }
  static reg::Key MakeKey(const std::string& path) {
    reg::Key key;
    EXPECT_EQ(reg::CreateKey(reg::Hive::CurrentUser, path, key), reg::kSuccess) << path;
    return key;
  }
  static std::string ModuleKey(const std::string& display, const char* module) {
    return DisplayKeyPath(display) + "\\Modules\\" + module;
  }
  static std::string PaletteKey(const std::string& display) { return DisplayKeyPath(display) + "\\Palette"; }
  static bool HasValue(const std::string& path, const char* name) {
    reg::Key key;
    if (reg::OpenKey(reg::Hive::CurrentUser, path, key) != reg::kSuccess) return false;
    uint32_t size = 0;
    return reg::QueryValue(key, name, nullptr, nullptr, &size) == reg::kSuccess;
  }
  static int32_t Number(const std::string& path, const char* name) {
    int32_t v = -12345;
    EXPECT_TRUE(ReadNumber(OpenKey(path), name, v)) << path << " " << name;
    return v;
  }
  static uint32_t ValueCount(const std::string& path) {
    reg::Key key = OpenKey(path);
    std::string name;
    uint32_t n = 0;
    while (reg::EnumValue(key, n, name, nullptr, nullptr) == reg::kSuccess) ++n;
    return n;
  }

  PaletteState* palette = nullptr;
};

}  // namespace fluxo::test
