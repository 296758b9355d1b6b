#include "config/display_list.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QString>

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

bool LoadListedDisplay(const QString& name) {
  const std::string utf8 = name.toStdString();
  if (!DisplayExists(utf8)) return false;
  LoadDisplay(utf8.c_str());
  WriteActiveDisplay(utf8);
  return true;
}

}  // namespace fluxo::config
