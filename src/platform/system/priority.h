#pragma once
#include <cstdint>

namespace fluxo {

// Process priority classes of the settings ("Priority") mapped to nice values:
// idle (64) = 19, normal (32) = 0, high (128) = -5 where allowed.
constexpr uint32_t kPriorityIdle = 64;
constexpr uint32_t kPriorityNormal = 32;
constexpr uint32_t kPriorityHigh = 128;

// Thread priorities relative to the process class.
enum class ThreadPriority { Normal = 0, BelowNormal = 1 };

void SetProcessPriorityClass(uint32_t priorityClass);
// Applies to the calling thread, now and whenever the process class changes.
void SetCurrentThreadPriority(ThreadPriority priority);
// Forgets the calling thread (call before it ends).
void ForgetCurrentThreadPriority();
int NiceOfClass(uint32_t priorityClass);

}  // namespace fluxo
