// A run told to play a chosen display (the configuration's previews) plays it
// without touching "Active".
#include <gtest/gtest.h>

#include "engine/render_thread.h"
#include "settings/display_fixture.h"

namespace fluxo::test {
namespace {

class DisplayOverrideTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    ActivateOnly(kModulePlasma);
    SaveCurrentDisplay("Chosen");
    ActivateOnly(kModuleBezier);
    SaveCurrentDisplay("Active One");  // also made "Active"
    ActivateOnly(kModuleStar);
  }
  void TearDown() override {
    Overrides() = RunOverrides{};
    DisplayTest::TearDown();
  }
};

TEST_F(DisplayOverrideTest, TheChosenDisplayPlaysAndActiveStays) {
  Overrides().display = "Chosen";
  InitialiseModuleRegistry();
  EXPECT_TRUE(IsActive(kModulePlasma));
  EXPECT_FALSE(IsActive(kModuleBezier));
  EXPECT_EQ(CurrentDisplayName(), "Chosen");
  EXPECT_EQ(ActiveDisplayName(), "Active One");
}

TEST_F(DisplayOverrideTest, ADisplayThatIsGonePlaysActiveInstead) {
  Overrides().display = "Deleted Meanwhile";
  InitialiseModuleRegistry();
  EXPECT_TRUE(IsActive(kModuleBezier));
  EXPECT_FALSE(IsActive(kModulePlasma));
  EXPECT_EQ(ActiveDisplayName(), "Active One");
}

TEST_F(DisplayOverrideTest, WithoutAChoiceActivePlays) {
  InitialiseModuleRegistry();
  EXPECT_TRUE(IsActive(kModuleBezier));
  EXPECT_EQ(CurrentDisplayName(), "Active One");
}

}  // namespace
}  // namespace fluxo::test
