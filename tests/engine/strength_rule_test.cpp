#include <gtest/gtest.h>

#include "engine/module_registry.h"
#include "engine/render_thread.h"

namespace fluxo::test {
namespace {

int g_calls = 0;
int32_t g_result = 0;
int32_t CountingFrame(ModuleSlot*) {
  ++g_calls;
  return g_result;
}

class StrengthRuleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearModuleTable();
    g_calls = 0;
    g_result = 0;
    InstallModuleOperations(kModuleBezier, CountingFrame, NoOpModuleOperation, NoOpModuleOperation,
                            NoOpModuleOperation);
    SetActive(kModuleBezier, true);
  }
  // Frame calls over passes 1..passes with the given Strength.
  int CallsOver(int strength, uint32_t passes) {
    Slot(kModuleBezier).controls.value[9] = strength;
    g_calls = 0;
    for (uint32_t pass = 1; pass <= passes; ++pass) RunModulePass(pass);
    return g_calls;
  }
};

TEST_F(StrengthRuleTest, ZeroAndOneDrawOncePerPass) {
  EXPECT_EQ(CallsOver(0, 9), 9);
  EXPECT_EQ(CallsOver(1, 9), 9);
}

TEST_F(StrengthRuleTest, PositiveRepeatsWithinAPass) { EXPECT_EQ(CallsOver(4, 3), 12); }

TEST_F(StrengthRuleTest, NegativeSkipsPasses) {
  Slot(kModuleBezier).controls.value[9] = -3;
  std::vector<uint32_t> drawn;
  for (uint32_t pass = 1; pass <= 10; ++pass) {
    int before = g_calls;
    RunModulePass(pass);
    if (g_calls > before) drawn.push_back(pass);
  }
  EXPECT_EQ(drawn, (std::vector<uint32_t>{3, 6, 9}));
}

TEST_F(StrengthRuleTest, NotDueYetStopsRepeating) {
  g_result = kNotDueYet;
  EXPECT_EQ(CallsOver(5, 2), 2);
}

TEST_F(StrengthRuleTest, InactiveOrOperationlessModulesNeverRun) {
  SetActive(kModuleBezier, false);
  SetActive(kModulePlugIn, true);  // a record without operations
  SetActive(kModuleSequencer, true);
  EXPECT_EQ(CallsOver(1, 5), 0);
}

TEST(SpeedRule, SlowsSpeedPassesOfEverySixteen) {
  auto pausedOf16 = [](uint32_t speed) {
    int paused = 0;
    for (uint32_t frame = 1; frame <= 16; ++frame) paused += SpeedPauses(frame, speed);
    return paused;
  };
  EXPECT_EQ(pausedOf16(0), 0);
  EXPECT_EQ(pausedOf16(3), 3);
  EXPECT_EQ(pausedOf16(15), 15);
  EXPECT_EQ(pausedOf16(16), 16);
  EXPECT_EQ(pausedOf16(40), 16);
  EXPECT_TRUE(SpeedPauses(32, 1));
  EXPECT_FALSE(SpeedPauses(33, 1));
}

}  // namespace
}  // namespace fluxo::test
