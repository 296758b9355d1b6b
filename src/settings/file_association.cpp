#include <unistd.h>

#include <string>

#include "settings/display_file.h"
#include "settings/settings_store.h"

namespace fluxo {
namespace {

std::string RunningProgram() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string("fluxo");
}

}  // namespace

int RegisterFileType(const char* programPath) {
  const std::string program = programPath ? programPath : RunningProgram();
  const std::string icon = program + ",2";
  WriteMachineString(reg::Hive::ClassesRoot, ".FLX", "", "Fluxo");
  WriteMachineString(reg::Hive::ClassesRoot, ".FLX", "Content Type", "application/fluxo");
  WriteMachineString(reg::Hive::ClassesRoot, "Fluxo\\shell\\open\\command", "", "Fluxo.SCR /S %1");
  WriteMachineString(reg::Hive::ClassesRoot, "Fluxo\\DefaultIcon", "", icon.c_str());
  return 1;
}

}  // namespace fluxo
