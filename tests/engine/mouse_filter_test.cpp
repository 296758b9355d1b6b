#include "engine/driver_fixture.h"
#include "platform/system/tick_count.h"

namespace fluxo::test {
namespace {

uint32_t g_now = 0;
uint32_t FakeNow() { return g_now; }

class MouseFilterTest : public DriverTest {
 protected:
  void SetUp() override {
    DriverTest::SetUp();
    SetTickSourceForTesting(FakeNow);
    g_now = 100000;
    Saver().modeSwitched.store(1);
    Saver().createTime = g_now;
    Saver().mouseWindowStart = g_now;
  }
  void TearDown() override {
    SetTickSourceForTesting(nullptr);
    DriverTest::TearDown();
  }
  int MovesUntilPassedOn(int limit) {
    for (int n = 1; n <= limit; ++n) {
      Send(SaverMessage::MouseMove);
      if (!window.passedOn.empty()) return n;
      g_now += 10;
    }
    return 0;
  }
};

TEST_F(MouseFilterTest, FirstEightSecondsTolerateNineteenMovesPerWindow) {
  g_now += 100;
  EXPECT_EQ(MovesUntilPassedOn(40), 20);
  EXPECT_EQ(Saver().inputSeen.load(), 1);
}

TEST_F(MouseFilterTest, LaterOnlyFiveMovesPerWindow) {
  g_now += 9000;
  Send(SaverMessage::MouseMove);  // opens a new 2-second window; does not count
  EXPECT_TRUE(window.passedOn.empty());
  g_now += 10;
  EXPECT_EQ(MovesUntilPassedOn(40), 6);
}

TEST_F(MouseFilterTest, NewWindowResetsTheCount) {
  g_now += 100;
  for (int n = 0; n < 15; ++n) Send(SaverMessage::MouseMove);
  g_now += 2000;
  Send(SaverMessage::MouseMove);  // new window
  EXPECT_EQ(Saver().mouseCount, 0);
  g_now += 10;
  EXPECT_EQ(MovesUntilPassedOn(40), 20);
}

TEST_F(MouseFilterTest, IgnoredMouseAndUnswitchedMode) {
  Saver().ignoreMouse.store(1);
  EXPECT_EQ(MovesUntilPassedOn(100), 0);
  Saver().ignoreMouse.store(0);
  Saver().modeSwitched.store(0);
  EXPECT_EQ(Send(SaverMessage::MouseMove), 7);  // the framework's own threshold decides
}

}  // namespace
}  // namespace fluxo::test
