#pragma once
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <memory>

#include "settings/active_value.h"

namespace fluxo::config {

// What every page of the configuration sheet shares: the dirty flag of the
// display being edited, test runs of the saver, help and the saved-display
// lists' refresh. One per configuration run; the sheet owns it.
class ConfigSession : public QObject {
  Q_OBJECT
 public:
  explicit ConfigSession(QObject* parent = nullptr);
  // Ends a test run still going; no child of the dialog outlives it.
  ~ConfigSession() override;

  // Set when the display being edited (controls, palette, modules) changed;
  // Apply then saves it as "Scratch".
  bool ConfigDirty() const { return configDirty_; }
  void SetConfigDirty(bool dirty);

  // The program test runs and previews start: this program unless a test
  // substitutes another one. `leadingArgs` go before the saver's own switches.
  void SetChildProgram(const QString& program, const QStringList& leadingArgs = {});
  QString ChildProgram() const { return childProgram_; }
  QStringList ChildArguments(const QStringList& saverArgs) const;

  // Saves the edited state as "Testing Current Settings" and runs the saver
  // on it full screen. When the run ends, EndTest follows by itself.
  void TestSettings();
  // The given module alone (Random: the whole display).
  void TestModule(int moduleIndex);
  // Removes "Testing Current Settings" and restores "Active"; only while a
  // test is pending.
  void EndTest();
  bool TestPending() const { return testPending_; }

  // The common Apply: the main settings, then "Scratch" (made "Active") when
  // the display changed.
  void ApplySettings();

  // Opens the help window at a topic (512..519; anything else: the index).
  void ShowHelp(int topic);

 Q_SIGNALS:
  void ConfigDirtyChanged(bool dirty);
  // Names of saved displays or "Active" changed behind the pages' backs:
  // pages with a saved-display list refill it.
  void SavedDisplaysChanged();
  // A test run ended and EndTest has run.
  void TestEnded();

 private:
  void TestRunFinished();

  bool configDirty_ = false;
  bool testPending_ = false;
  ActiveValue previousActive_;
  QString childProgram_;
  QStringList childLeadingArgs_;
  std::unique_ptr<QProcess> testRun_;
};

}  // namespace fluxo::config
