#include "config/config_session.h"

#include <QApplication>
#include <QCoreApplication>

#include "config/help_window.h"
#include "engine/module_registry.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"

namespace fluxo::config {

namespace {
constexpr int kCloseWaitMs = 1000;
const char kScratchDisplay[] = "Scratch";
}  // namespace

ConfigSession::ConfigSession(QObject* parent)
    : QObject(parent), childProgram_(QCoreApplication::applicationFilePath()) {}

ConfigSession::~ConfigSession() {
  if (testRun_) {
    // The sheet is going away: the test run goes with it, and its display too.
    testRun_->disconnect(this);
    testRun_->terminate();
    if (!testRun_->waitForFinished(kCloseWaitMs)) {
      testRun_->kill();
      testRun_->waitForFinished(kCloseWaitMs);
    }
    testRun_.reset();
  }
  EndTest();
}

void ConfigSession::SetConfigDirty(bool dirty) {
  if (configDirty_ == dirty) return;
  configDirty_ = dirty;
  Q_EMIT ConfigDirtyChanged(dirty);
}

void ConfigSession::SetChildProgram(const QString& program, const QStringList& leadingArgs) {
  childProgram_ = program;
  childLeadingArgs_ = leadingArgs;
}

QStringList ConfigSession::ChildArguments(const QStringList& saverArgs) const {
  return childLeadingArgs_ + saverArgs;
}

void ConfigSession::TestSettings() {
  // A second test while one runs replaces it; "Active" from before the first
  // test is what EndTest must restore, not "Testing Current Settings". After a
  // failed start the user may have chosen another display meanwhile: that one.
  if (testRun_) {
    testRun_->disconnect(this);
    testRun_->terminate();
    if (!testRun_->waitForFinished(kCloseWaitMs)) testRun_->kill();
    testRun_.reset();
  }
  if (!testPending_ || ActiveDisplayName() != kTestingDisplay) previousActive_ = ReadActiveValue();
  testPending_ = true;
  SaveCurrentDisplay(kTestingDisplay);

  testRun_ = std::make_unique<QProcess>();
  testRun_->setProcessChannelMode(QProcess::ForwardedChannels);
  connect(testRun_.get(), &QProcess::finished, this, &ConfigSession::TestRunFinished);
  connect(testRun_.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error == QProcess::FailedToStart) {
      QApplication::beep();
      // The display stays until the next EndTest, as after any failed start.
      testRun_.release()->deleteLater();
    }
  });
  testRun_->start(childProgram_, ChildArguments({"/s"}));
}

void ConfigSession::TestRunFinished() {
  if (testRun_) testRun_.release()->deleteLater();
  EndTest();
}

void ConfigSession::TestModule(int moduleIndex) {
  if (moduleIndex == kModuleRandom) {
    TestSettings();
    return;
  }
  bool remembered[kModuleCount];
  for (int i = 0; i < kModuleCount; ++i) {
    remembered[i] = IsActive(i);
    SetActive(i, i == moduleIndex);
  }
  TestSettings();
  for (int i = 0; i < kModuleCount; ++i) SetActive(i, remembered[i]);
}

void ConfigSession::EndTest() {
  if (!testPending_) return;
  testPending_ = false;
  DeleteDisplay(kTestingDisplay);
  RestoreActiveValue(previousActive_);
  Q_EMIT SavedDisplaysChanged();
  Q_EMIT TestEnded();
}

void ConfigSession::ApplySettings() {
  SaveMainSettings();
  if (!configDirty_) return;
  SaveCurrentDisplay(kScratchDisplay);  // also makes it "Active"
  Q_EMIT SavedDisplaysChanged();
}

void ConfigSession::ShowHelp(int topic) { HelpWindow::Show(topic); }

}  // namespace fluxo::config
