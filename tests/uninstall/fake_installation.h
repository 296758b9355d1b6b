#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/registry/registry.h"
#include "registry/fresh_store.h"

namespace fluxo::test {

// What a per-user setup leaves behind, written directly: the files, folders,
// desktop entries and settings, plus a file of the user's own in the
// installation folder. Every folder lives under the test's FLUXO_HOME.
class FakeInstallation : public FreshStore {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Every file below FLUXO_HOME but the settings database, with its bytes.
  static std::map<std::string, std::string> Files();
  // Every key and value of the three hives, as "HIVE\path" and "...\path:name".
  static std::map<std::string, std::vector<uint8_t>> Registry();
  static bool Exists(const std::string& path);
  static std::string Read(const std::string& path);
  static bool KeyPresent(reg::Hive hive, const std::string& path);

  std::string installation;  // "FluxoDir"
  std::string userFile;      // the user's own file in it
  std::string launcher;      // the launcher in it
  std::string startupEntry;
  std::string xscreensaverBefore;  // the user's file before setup added Fluxo
  std::string xscreensaverAfter;   // ... and after
};

}  // namespace fluxo::test
