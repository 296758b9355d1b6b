#pragma once
#include <QWidget>

namespace fluxo::config {

class ConfigSession;

// One page of the configuration sheet. The sheet creates a page the first
// time it is shown and calls these in the order the pages' notifications
// come: SetActive on every showing, KillActive when another page is chosen,
// Apply on "OK"/"Apply" for every page created so far, QueryCancel on
// "Cancel" or closing.
class ConfigPage : public QWidget {
  Q_OBJECT
 public:
  ConfigPage(ConfigSession& session, QWidget* parent = nullptr);

  // Refresh the controls from the state.
  virtual void SetActive() {}
  // Read the page's controls back into the state.
  virtual void ReadControls() {}
  // ReadControls, then the main settings are written.
  virtual void KillActive();
  // ReadControls, the main settings, then "Scratch" when the display changed.
  virtual void Apply();
  // The dialog is being cancelled or closed: stop what runs (previews).
  virtual void QueryCancel() {}

  ConfigSession& Session() const { return session_; }

 private:
  ConfigSession& session_;
};

}  // namespace fluxo::config
