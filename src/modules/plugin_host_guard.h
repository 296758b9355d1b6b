#pragma once
#include <cstdint>

namespace fluxo {

// Runs foreign code so that a hardware fault inside it (segmentation fault,
// bus error, illegal instruction, arithmetic fault) returns to the caller
// instead of ending the program. Faults outside a guarded call go to the
// handler that was installed before.
//
// Jumping out of the faulting code skips whatever it was doing: its own
// state may be broken afterwards, and the caller must not call into it again.
// False when the call faulted.
bool CallWithFaultGuard(void (*call)(void* context), void* context);

// Runs `call` in a short-lived child process (a copy of this one) and reports
// how it ended: its result (0..255) when it returned, or -1 when it faulted,
// was killed, or did not end within `timeoutMs` (the child is then killed).
// Nothing the child does reaches this process.
int RunInChildProcess(int (*call)(void* context), void* context, uint32_t timeoutMs);

}  // namespace fluxo
