#include "platform/system/random.h"

#include <atomic>

#include "platform/system/tick_count.h"

namespace fluxo {
namespace {
thread_local uint32_t t_state = 1;
std::atomic<bool> g_fixed{false};
std::atomic<uint32_t> g_fixedSeed{0};
}  // namespace

void SeedRandom(uint32_t seed) { t_state = seed; }

int Rand() {
  t_state = t_state * 214013u + 2531011u;
  return static_cast<int>((t_state >> 16) & 0x7FFF);
}

uint32_t TickSeed(uint32_t salt) {
  uint32_t base = g_fixed.load(std::memory_order_relaxed) ? g_fixedSeed.load(std::memory_order_relaxed) : GetTickCount();
  return base + salt * 0x9E3779B9u;
}

void FixTickSeed(bool fixed, uint32_t seed) {
  g_fixedSeed.store(seed, std::memory_order_relaxed);
  g_fixed.store(fixed, std::memory_order_relaxed);
}

}  // namespace fluxo
