#include "config/preview_pane.h"

#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <fstream>
#include <sstream>

#include "config/config_session.h"
#include "settings/display_fixture.h"
#include "support/test_environment.h"

namespace fluxo::test {
namespace {

using config::ConfigSession;
using config::PreviewPane;

class PreviewPaneTest : public DisplayTest {
 protected:
  // A stand-in for the preview child: writes its process id and its words,
  // then runs `body`.
  void UseChild(const std::string& body) {
    pidFile = TestHome() + "/preview.pid";
    argsFile = TestHome() + "/preview.args";
    std::remove(pidFile.c_str());
    std::remove(argsFile.c_str());
    const std::string script = "echo $$ > '" + pidFile + "'; echo \"$@\" > '" + argsFile + "'; " + body;
    session.SetChildProgram("/bin/sh", {"-c", QString::fromStdString(script), "saver"});
  }
  pid_t WaitForChild() {
    pid_t pid = 0;
    for (int tries = 0; tries < 200 && pid == 0; ++tries) {
      std::ifstream in(pidFile);
      if (!(in >> pid)) QTest::qWait(20);
    }
    return pid;
  }
  std::string ChildWords() {
    std::ifstream in(argsFile);
    std::string words;
    std::getline(in, words);
    return words;
  }

  ConfigSession session;
  std::string pidFile, argsFile;
};

TEST_F(PreviewPaneTest, AChildThatIgnoresTheRequestIsEndedAndNoneOutlivesThePane) {
  UseChild("trap '' TERM; exec sleep 30");
  pid_t first = 0, second = 0;
  {
    PreviewPane pane(session);
    pane.StartPreview();
    first = WaitForChild();
    ASSERT_GT(first, 0);
    QTest::qWait(100);  // the trap is set once the script has gone on to sleep
    pane.StopPreview();
    EXPECT_FALSE(pane.PreviewRunning());
    EXPECT_EQ(kill(first, 0), -1) << "the preview child is still there";

    std::remove(pidFile.c_str());
    pane.StartPreview();
    second = WaitForChild();
    ASSERT_GT(second, 0);
    QTest::qWait(100);
  }
  EXPECT_EQ(kill(second, 0), -1) << "the preview child outlived its pane";
}

TEST_F(PreviewPaneTest, TheChildGetsThePaneAndTheChosenDisplayOnItsCommandLine) {
  UseChild("exec sleep 30");
  PreviewPane pane(session);
  pane.StartPreview();
  ASSERT_GT(WaitForChild(), 0);
  QTest::qWait(50);
  EXPECT_EQ(ChildWords(), "/p " + std::to_string(pane.winId()));

  std::remove(pidFile.c_str());
  WriteActiveDisplay("Before");
  pane.StartPreview("My Display");
  ASSERT_GT(WaitForChild(), 0);
  QTest::qWait(50);
  EXPECT_EQ(ChildWords(), "/p " + std::to_string(pane.winId()) + " --display My Display");
  EXPECT_EQ(ActiveDisplayName(), "Before");
  pane.StopPreview();
}

TEST_F(PreviewPaneTest, AChildThatEndsByItselfIsNoRunningPreview) {
  UseChild("exit 3");
  PreviewPane pane(session);
  pane.StartPreview();
  for (int tries = 0; tries < 250 && pane.PreviewRunning(); ++tries) QTest::qWait(20);
  EXPECT_FALSE(pane.PreviewRunning());
  pane.StopPreview();  // nothing left to end
  EXPECT_FALSE(pane.PreviewRunning());
}

TEST_F(PreviewPaneTest, StartingWritesTheMainSettingsTheChildReads) {
  UseChild("exec sleep 30");
  Main().speed = 9;
  PreviewPane pane(session);
  pane.StartPreview();
  Main().speed = 0;
  LoadMainSettings();
  EXPECT_EQ(Main().speed.load(), 9u);
  pane.StopPreview();
}

TEST_F(PreviewPaneTest, QuickPreviewFiresOnlyWhenAllowed) {
  PreviewPane pane(session);
  QSignalSpy due(&pane, &PreviewPane::PreviewDue);
  Main().preview = 0;
  pane.ArmPreviewTimer();
  QTest::qWait(600);
  EXPECT_EQ(due.count(), 0);

  Main().preview = 1;
  pane.ArmPreviewTimer();
  EXPECT_TRUE(due.wait(2000));
}

TEST_F(PreviewPaneTest, EveryArmingPutsTheQuickPreviewOff) {
  Main().preview = 1;
  PreviewPane pane(session);
  QSignalSpy due(&pane, &PreviewPane::PreviewDue);
  // Changes coming quicker than the timer's quarter second keep it from firing.
  for (int i = 0; i < 15; ++i) {
    pane.ArmPreviewTimer();
    QTest::qWait(40);
  }
  EXPECT_EQ(due.count(), 0);
  ASSERT_TRUE(due.wait(2000));
  QTest::qWait(600);
  EXPECT_EQ(due.count(), 1) << "one preview after the last change";
}

}  // namespace
}  // namespace fluxo::test
