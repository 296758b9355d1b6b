#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>

namespace fluxo::test {
namespace {
std::string g_home;
std::string g_shm;
}  // namespace

const std::string& TestHome() { return g_home; }
const std::string& TestSharedMemoryName() { return g_shm; }

}  // namespace fluxo::test

int main(int argc, char** argv) {
  using namespace fluxo::test;
  char pattern[] = "/tmp/fluxo-test-XXXXXX";
  if (!mkdtemp(pattern)) return 3;
  g_home = pattern;
  std::random_device rd;
  g_shm = "/fluxo-test-" + std::to_string(getpid()) + "-" + std::to_string(rd());
  setenv("FLUXO_HOME", g_home.c_str(), 1);
  setenv("FLUXO_SHM_NAME", g_shm.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  testing::InitGoogleTest(&argc, argv);
  int rc = RUN_ALL_TESTS();
  std::error_code ec;
  shm_unlink(g_shm.c_str());
  for (const char* lock : {".gate", ".attach"}) std::filesystem::remove("/dev/shm" + g_shm + lock, ec);
  std::filesystem::remove_all(g_home, ec);
  return rc;
}
