#include "config/display_list.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "settings/saved_displays.h"

namespace fluxo::config {

void FillDisplayList(QComboBox* list) {
  const QSignalBlocker block(list);
  list->clear();
  int active = -1;
  for (const std::string& name : ListDisplays(&active)) list->addItem(QString::fromStdString(name));
  list->setCurrentIndex(active);
}

void SelectActiveDisplay(QComboBox* list) {
  const QSignalBlocker block(list);
  const int found = list->findText(QString::fromStdString(ActiveDisplayName()), Qt::MatchFixedString);
  if (found >= 0) list->setCurrentIndex(found);
}

}  // namespace fluxo::config
