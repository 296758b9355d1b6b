#pragma once
#include <string>

namespace fluxo::test {
// Every test process runs with its own FLUXO_HOME and shared-memory name, so
// tests are hermetic and may run in parallel.
const std::string& TestHome();
const std::string& TestSharedMemoryName();
}  // namespace fluxo::test
