#include "tonewell/registration.h"

#include <unistd.h>

#include <climits>

#include "settings/settings_store.h"
#include "tonewell/feed_publisher.h"

namespace fluxo::tonewell {
namespace {

constexpr char kCompanionKey[] = "Software\\Tonewell";

}  // namespace

uint32_t CompanionVersionValue() { return static_cast<uint32_t>(kCompanionMajor) << 16 | kCompanionMinor; }

std::string OwnCommandLine() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  const std::string program = length > 0 ? std::string(path, static_cast<size_t>(length)) : "tonewell";
  return program.find_first_of(" \t") == std::string::npos ? program : "\"" + program + "\"";
}

bool RegisterCompanion(const std::string& commandLine) {
  const bool version =
      WriteDword(reg::Hive::CurrentUser, kCompanionKey, "Current Version", reg::kRegDword, CompanionVersionValue());
  const bool command = WriteMachineString(reg::Hive::LocalMachine, kCompanionKey, "", commandLine.c_str());
  return version && command;
}

}  // namespace fluxo::tonewell
