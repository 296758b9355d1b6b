#include "platform/system/folders.h"

#include <cstdlib>
#include <filesystem>

namespace fluxo {
namespace {

std::string EnvOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return (value && *value) ? std::string(value) : fallback;
}

std::string HomeDir() { return EnvOr("HOME", "/tmp"); }

}  // namespace

std::string ConfigFolder() {
  if (const char* root = std::getenv("FLUXO_HOME"); root && *root) return std::string(root) + "/config";
  return EnvOr("XDG_CONFIG_HOME", HomeDir() + "/.config") + "/fluxo";
}

std::string DataFolder() {
  if (const char* root = std::getenv("FLUXO_HOME"); root && *root) return std::string(root) + "/data";
  return EnvOr("XDG_DATA_HOME", HomeDir() + "/.local/share") + "/fluxo";
}

// Set but empty is kept as it is, so the attach can refuse it rather than
// silently joining the default block.
std::string SharedMemoryName() {
  const char* value = std::getenv("FLUXO_SHM_NAME");
  return value ? std::string(value) : "/FXSCTNWSharedFileMappingQZRV";
}

bool EnsureFolder(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);
  return std::filesystem::is_directory(path, ec);
}

}  // namespace fluxo
