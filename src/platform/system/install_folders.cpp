#include "platform/system/install_folders.h"

#include <cstdlib>

namespace fluxo {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? std::string(value) : std::string();
}

// Under FLUXO_HOME every place is a folder of its own inside it.
std::string Rooted(const char* inHome, const std::string& otherwise) {
  const std::string root = Env("FLUXO_HOME");
  return root.empty() ? otherwise : root + "/" + inHome;
}

std::string Home() {
  const std::string home = Env("HOME");
  return home.empty() ? "/tmp" : home;
}

std::string EnvOr(const char* name, const std::string& fallback) {
  const std::string value = Env(name);
  return value.empty() ? fallback : value;
}

}  // namespace

std::string UserHomeFolder() { return Rooted("home", Home()); }
std::string SystemFolder() { return Rooted("bin", Home() + "/.local/bin"); }
std::string ProgramFilesFolder() { return Rooted("programs", Home() + "/.local/opt"); }
std::string DesktopFolder() { return Rooted("desktop", EnvOr("XDG_DESKTOP_DIR", Home() + "/Desktop")); }
std::string XdgDataFolder() { return Rooted("share", EnvOr("XDG_DATA_HOME", Home() + "/.local/share")); }
std::string XdgConfigFolder() { return Rooted("xdg-config", EnvOr("XDG_CONFIG_HOME", Home() + "/.config")); }
std::string ProgramsFolder() { return XdgDataFolder() + "/applications"; }
std::string StartupFolder() { return XdgConfigFolder() + "/autostart"; }

}  // namespace fluxo
