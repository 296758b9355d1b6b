// Scaffolding while the pages are being built: each page's own file replaces
// its entry here, and this file goes when the last one has.
#include <QLabel>
#include <QVBoxLayout>

#include "config/config_page.h"
#include "config/page_factories.h"

namespace fluxo::config {

namespace {
ConfigPage* Placeholder(ConfigSession& session) {
  auto* page = new ConfigPage(session);
  (new QVBoxLayout(page))->addWidget(new QLabel("This page is being built."));
  return page;
}
}  // namespace

ConfigPage* CreateModulePage(ConfigSession& session, int) { return Placeholder(session); }

ConfigPage* CreatePalettePage(ConfigSession& session) { return Placeholder(session); }

ConfigPage* CreateCustomPalettePage(ConfigSession& session) { return Placeholder(session); }

ConfigPage* CreateSoundPage(ConfigSession& session) { return Placeholder(session); }

ConfigPage* CreateMainPage(ConfigSession& session) { return Placeholder(session); }

ConfigPage* CreateAuxiliaryPage(ConfigSession& session) { return Placeholder(session); }

ConfigPage* CreateEditDisplaysPage(ConfigSession& session) { return Placeholder(session); }

ConfigPage* CreateVideoPage(ConfigSession& session) { return Placeholder(session); }

ConfigPage* CreateSequencerPage(ConfigSession& session) { return Placeholder(session); }

}  // namespace fluxo::config
