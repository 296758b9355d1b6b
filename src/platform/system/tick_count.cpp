#include "platform/system/tick_count.h"

#include <atomic>
#include <chrono>

namespace fluxo {
namespace {
std::atomic<TickSource> g_source{nullptr};
}

uint32_t GetTickCount() {
  if (TickSource source = g_source.load(std::memory_order_relaxed)) return source();
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void SetTickSourceForTesting(TickSource source) { g_source.store(source, std::memory_order_relaxed); }

}  // namespace fluxo
