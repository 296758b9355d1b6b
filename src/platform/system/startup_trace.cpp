#include "platform/system/startup_trace.h"

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace fluxo {
namespace {

// The process's start in milliseconds since boot, from /proc (field 22, in
// clock ticks); 0 when it cannot be read.
double ProcessStartMs() {
  std::ifstream stat("/proc/self/stat");
  std::string line;
  if (!std::getline(stat, line)) return 0;
  // The command name may hold spaces; the fields after it are plain numbers.
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  for (int index = 3; index < 22; ++index) fields >> field;
  unsigned long long ticks = 0;
  if (!(fields >> ticks)) return 0;
  return 1000.0 * static_cast<double>(ticks) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double BootClockMs() {
  timespec now{};
  clock_gettime(CLOCK_BOOTTIME, &now);
  return 1000.0 * static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace

bool TraceEnabled() {
  static const bool tracing = [] {
    const char* value = std::getenv("FLUXO_TRACE");
    return value != nullptr && std::strcmp(value, "1") == 0;
  }();
  return tracing;
}

void TraceStartup(const char* stage) {
  if (!TraceEnabled()) return;
  static const double start = ProcessStartMs();
  std::fprintf(stderr, "fluxo start-up: %s %.0f ms\n", stage, BootClockMs() - start);
}

}  // namespace fluxo
