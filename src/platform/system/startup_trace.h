#pragma once

namespace fluxo {

// With FLUXO_TRACE=1 in the environment, prints "fluxo start-up: <stage>
// <ms> ms" to stderr: the milliseconds since the process started (to the
// kernel's clock tick, usually 10 ms). Otherwise does nothing.
void TraceStartup(const char* stage);

// Whether FLUXO_TRACE=1 asks for traces.
bool TraceEnabled();

}  // namespace fluxo
