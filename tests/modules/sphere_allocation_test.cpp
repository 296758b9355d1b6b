#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "module_harness.h"
#include "modules/sphere.h"

#if defined(__SANITIZE_ADDRESS__)
#define FLUXO_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FLUXO_ADDRESS_SANITIZER 1
#endif
#endif

namespace fluxo {
namespace {

#if !defined(FLUXO_ADDRESS_SANITIZER)
// The process's current address-space size in bytes, from /proc.
size_t AddressSpaceInUse() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmSize:", 0) == 0) return std::stoul(line.substr(7)) * 1024;
  return 0;
}

// In a child process whose address space is capped just above what it uses,
// the sprites cannot be built: the module says so and draws nothing.
void StartWithoutMemory() {
  test::ModuleHarness harness(kModuleSphere, 64, 48);
  harness.SetControl(0, 250);  // ten sprites of 252 x 252 pixels
  kSphereOperations.allocate(&harness.slot());
  const size_t inUse = AddressSpaceInUse();
  if (inUse == 0) std::exit(2);
  const rlimit cap{inUse + 16 * 1024, inUse + 16 * 1024};
  if (setrlimit(RLIMIT_AS, &cap) != 0) std::exit(3);
  kSphereOperations.initialise(&harness.slot());
  for (int i = 0; i < 5; ++i) kSphereOperations.frame(&harness.slot());
  kSphereOperations.free(&harness.slot());
  std::exit(harness.CountNonBlack() == 0 ? 0 : 1);
}
#endif

TEST(SphereAllocationTest, SpritesThatCannotBeAllocatedAreReportedAndNothingIsDrawn) {
#if defined(FLUXO_ADDRESS_SANITIZER)
  GTEST_SKIP() << "the address sanitizer reserves more address space than any cap allows";
#else
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(StartWithoutMemory(), ::testing::ExitedWithCode(0), "Could not allocate buffers");
#endif
}

}  // namespace
}  // namespace fluxo
