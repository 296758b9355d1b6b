#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <fstream>

#include "config/config_session.h"
#include "settings/active_value.h"
#include "settings/display_fixture.h"
#include "support/test_environment.h"

namespace fluxo::test {
namespace {

using config::ConfigSession;

class ConfigSessionTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    ActivateOnly(kModuleBezier);
    SaveCurrentDisplay("Before");
  }
};

TEST_F(ConfigSessionTest, AnEndedTestRunRemovesItsDisplayAndRestoresActive) {
  ConfigSession session;
  // Stands in for the saver: it lives a moment, then ends as after a key press.
  session.SetChildProgram("/bin/sh", {"-c", "sleep 0.2", "saver"});
  QSignalSpy ended(&session, &ConfigSession::TestEnded);

  session.TestSettings();
  EXPECT_TRUE(session.TestPending());
  EXPECT_TRUE(DisplayExists(kTestingDisplay));
  EXPECT_EQ(ActiveDisplayName(), kTestingDisplay);

  ASSERT_TRUE(ended.wait(5000));
  EXPECT_FALSE(session.TestPending());
  EXPECT_FALSE(DisplayExists(kTestingDisplay));
  EXPECT_EQ(ActiveDisplayName(), "Before");
}

TEST_F(ConfigSessionTest, ASecondTestKeepsTheActiveOfTheFirst) {
  ConfigSession session;
  session.SetChildProgram("/bin/sh", {"-c", "exec sleep 30", "saver"});
  session.TestSettings();
  session.TestSettings();  // replaces the first run
  ASSERT_TRUE(session.TestPending());
  session.EndTest();
  EXPECT_EQ(ActiveDisplayName(), "Before");
}

TEST_F(ConfigSessionTest, ADisplayChosenAfterAFailedStartIsWhatTheNextTestRestores) {
  SaveCurrentDisplay("Chosen");
  WriteActiveDisplay("Before");
  ConfigSession session;
  session.SetChildProgram("/nonexistent/fluxo");
  session.TestSettings();
  QCoreApplication::processEvents();
  ASSERT_TRUE(session.TestPending());  // its display stays until the next EndTest
  // The user picks another display on the Main page, then tests again.
  WriteActiveDisplay("Chosen");
  session.SetChildProgram("/bin/sh", {"-c", "exec sleep 30", "saver"});
  session.TestSettings();
  session.EndTest();
  EXPECT_EQ(ActiveDisplayName(), "Chosen");
}

TEST_F(ConfigSessionTest, TestModuleRunsTheModuleAloneAndKeepsTheDisplaysModules) {
  SetActive(kModuleStar, true);
  ConfigSession session;
  session.SetChildProgram("/bin/sh", {"-c", "exec sleep 30", "saver"});
  session.TestModule(kModulePlasma);
  EXPECT_TRUE(DisplayHasModule(kTestingDisplay, "Plasma"));
  EXPECT_FALSE(DisplayHasModule(kTestingDisplay, "Bezier"));
  EXPECT_TRUE(IsActive(kModuleBezier) && IsActive(kModuleStar) && !IsActive(kModulePlasma));
}

TEST_F(ConfigSessionTest, ATestRunDoesNotOutliveTheSession) {
  const std::string pidFile = TestHome() + "/test-run.pid";
  {
    ConfigSession session;
    // A run that ignores the polite request has to be ended.
    session.SetChildProgram("/bin/sh", {"-c", "echo $$ > '" + QString::fromStdString(pidFile) +
                                                  "'; trap '' TERM; exec sleep 30",
                                        "saver"});
    session.TestSettings();
    QTest::qWait(300);
  }
  std::ifstream in(pidFile);
  pid_t pid = 0;
  ASSERT_TRUE(in >> pid);
  EXPECT_EQ(kill(pid, 0), -1) << "the test run is still there";
  EXPECT_FALSE(DisplayExists(kTestingDisplay));
  EXPECT_EQ(ActiveDisplayName(), "Before");
}

TEST_F(ConfigSessionTest, ApplyWritesScratchOnlyWhenTheDisplayChanged) {
  ConfigSession session;
  session.ApplySettings();
  EXPECT_FALSE(DisplayExists("Scratch"));
  session.SetConfigDirty(true);
  session.ApplySettings();
  EXPECT_TRUE(DisplayExists("Scratch"));
  EXPECT_EQ(ActiveDisplayName(), "Scratch");
}

}  // namespace
}  // namespace fluxo::test
