#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/registry/registry.h"

namespace fluxo::test {

// Every test starts from an empty settings database.
class FreshStore : public ::testing::Test {
 protected:
  void SetUp() override { Wipe(); }
  void TearDown() override { Wipe(); }

  static void Wipe() {
    reg::CloseStore();
    for (const char* suffix : {"", "-wal", "-shm"}) std::remove((reg::StorePath() + suffix).c_str());
  }
};

}  // namespace fluxo::test
