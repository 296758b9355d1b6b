#include "config/config_page.h"

#include "config/config_session.h"
#include "settings/main_settings.h"

namespace fluxo::config {

ConfigPage::ConfigPage(ConfigSession& session, QWidget* parent) : QWidget(parent), session_(session) {}

void ConfigPage::KillActive() {
  ReadControls();
  SaveMainSettings();
}

void ConfigPage::Apply() {
  ReadControls();
  session_.ApplySettings();
}

}  // namespace fluxo::config
