// Scaffolding while the pages are being built: each page's own file replaces
// its entry here, and this file goes when the last one has.
#include <QLabel>
#include <QVBoxLayout>

#include "config/config_page.h"
#include "config/help_window.h"
#include "config/page_factories.h"

namespace fluxo::config {

namespace {
ConfigPage* Placeholder(ConfigSession& session) {
  auto* page = new ConfigPage(session);
  (new QVBoxLayout(page))->addWidget(new QLabel("This page is being built."));
  return page;
}
}  // namespace

void HelpWindow::Show(int) {}

}  // namespace fluxo::config
