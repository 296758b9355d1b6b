#pragma once
#include <cstdint>

namespace fluxo {

// The runtime's linear congruential generator, one state per thread:
// state = state * 214013 + 2531011, result = (state >> 16) & 0x7FFF.
constexpr int kRandMax = 32767;
void SeedRandom(uint32_t seed);
int Rand();

// The seed for places that seed with the tick count. `fluxo render --seed N`
// fixes it so runs repeat; `salt` keeps threads seeded at once apart.
uint32_t TickSeed(uint32_t salt = 0);
void FixTickSeed(bool fixed, uint32_t seed);

}  // namespace fluxo
