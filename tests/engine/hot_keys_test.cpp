#include "engine/driver_fixture.h"

namespace fluxo::test {
namespace {

constexpr uint32_t F(int n) { return vk::kF1 + n - 1; }

TEST_F(DriverTest, TabTogglesRandomWithoutBeep) {
  EXPECT_EQ(Key(vk::kTab), 0);
  EXPECT_TRUE(IsActive(kModuleRandom));
  Key(vk::kTab);
  EXPECT_FALSE(IsActive(kModuleRandom));
  EXPECT_EQ(window.beeps, 0);
  EXPECT_TRUE(window.passedOn.empty());
  EXPECT_EQ(Saver().inputSeen.load(), 0);
}

TEST_F(DriverTest, ArrowsAndDigitsWriteFeedCounters) {
  Key(vk::kRight);
  Key(vk::kRight);
  Key(vk::kLeft);
  Key(vk::kUp);
  Key(vk::kDown);
  Key(vk::kDown);
  Key(vk::k0 + 7);
  EXPECT_EQ(feed->I32(feed::kHorizontalStep), 1);
  EXPECT_EQ(feed->I32(feed::kVerticalStep), -1);
  EXPECT_EQ(feed->U16(feed::kDigitKey), 7);
  EXPECT_EQ(window.beeps, 0);
  EXPECT_TRUE(window.passedOn.empty());
}

TEST_F(DriverTest, KeypadChangesSpeedButNotBelowZero) {
  Key(vk::kSubtract);
  EXPECT_EQ(Main().speed.load(), 0u);
  Key(vk::kAdd);
  Key(vk::kAdd);
  Key(vk::kSubtract);
  EXPECT_EQ(Main().speed.load(), 1u);
  EXPECT_EQ(window.beeps, 0);
}

TEST_F(DriverTest, KeyStepStaysWithinOneToTwentyAndAlwaysBeeps) {
  feed->SetU32(feed::kKeyStep, 1);
  Key(F(11));
  EXPECT_EQ(feed->U32(feed::kKeyStep), 1u);
  feed->SetU32(feed::kKeyStep, 20);
  Key(F(12));
  EXPECT_EQ(feed->U32(feed::kKeyStep), 20u);
  feed->SetU32(feed::kKeyStep, 5);
  Key(F(11));
  EXPECT_EQ(feed->U32(feed::kKeyStep), 4u);
  Key(F(12));
  Key(F(12));
  EXPECT_EQ(feed->U32(feed::kKeyStep), 6u);
  EXPECT_EQ(window.beeps, 5);
}

TEST_F(DriverTest, FunctionKeysRaiseRequestsAndToggles) {
  Key(F(1));
  EXPECT_EQ(feed->U32(feed::kCaptureRequest), 1u);
  Key(F(2));
  EXPECT_EQ(feed->U32(feed::kRestartRequest), 1u);
  Key(F(9));
  EXPECT_EQ(Saver().ignoreMouse.load(), 1);
  Key(F(6));
  EXPECT_TRUE(Saver().renderGate.IsClosed());
  Key(F(5));  // palette suspended, render resumed
  EXPECT_TRUE(Saver().paletteGate.IsClosed());
  EXPECT_FALSE(Saver().renderGate.IsClosed());
  Key(F(7));
  EXPECT_FALSE(Saver().paletteGate.IsClosed());
  EXPECT_EQ(window.beeps, 6);
  EXPECT_TRUE(window.passedOn.empty());
}

TEST_F(DriverTest, OtherKeysCountAsInputAndArePassedOn) {
  for (uint32_t key : {F(10), vk::kA, uint32_t{0x07}, uint32_t{0x80}, vk::kEscape}) {
    Saver().inputSeen.store(0);
    window.passedOn.clear();
    EXPECT_EQ(Key(key), 7) << key;
    EXPECT_EQ(Saver().inputSeen.load(), 1) << key;
    ASSERT_EQ(window.passedOn.size(), 1u) << key;
    EXPECT_EQ(window.passedOn[0], SaverMessage::KeyDown);
  }
  EXPECT_EQ(window.beeps, 0);
}

TEST_F(DriverTest, ButtonsAndSystemKeysEndTheSaver) {
  for (auto message : {SaverMessage::SysKeyDown, SaverMessage::LeftButtonDown, SaverMessage::RightButtonDown,
                       SaverMessage::MiddleButtonDown}) {
    Saver().inputSeen.store(0);
    EXPECT_EQ(Send(message), 7);
    EXPECT_EQ(Saver().inputSeen.load(), 1);
  }
  EXPECT_EQ(window.passedOn.size(), 4u);
}

TEST_F(DriverTest, DeleteWithoutRenderThreadInvalidatesAfterBeep) {
  EXPECT_EQ(Key(vk::kDelete), 0);
  EXPECT_EQ(window.beeps, 1);
  EXPECT_EQ(window.invalidated, 1);
  EXPECT_TRUE(window.passedOn.empty());
}

TEST_F(DriverTest, DeactivationNeverEndsTheSaver) {
  EXPECT_EQ(Send(SaverMessage::Activate, 0), 0);
  EXPECT_EQ(Send(SaverMessage::ActivateApp, 0x10000), 0);  // low word 0
  EXPECT_TRUE(window.passedOn.empty());
  EXPECT_EQ(Send(SaverMessage::Activate, 1), 7);
  EXPECT_EQ(window.passedOn.size(), 1u);
}

TEST_F(DriverTest, CloseIgnoredAfterModeSwitchUntilInput) {
  Saver().modeSwitched.store(1);
  EXPECT_EQ(Send(SaverMessage::Close), 0);
  EXPECT_TRUE(window.passedOn.empty());
  Saver().inputSeen.store(1);
  EXPECT_EQ(Send(SaverMessage::Close), 7);
  Saver().modeSwitched.store(0);
  Saver().inputSeen.store(0);
  EXPECT_EQ(Send(SaverMessage::Close), 7);
  EXPECT_EQ(window.passedOn.size(), 2u);
  EXPECT_EQ(window.destroyedNow, 0);
}

}  // namespace
}  // namespace fluxo::test
