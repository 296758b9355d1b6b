#pragma once

class QComboBox;
class QString;

namespace fluxo::config {

// Fills a saved-display list: the stored displays in store order (at most
// 1000) with "Active" selected. The combo box keeps its edit text otherwise.
void FillDisplayList(QComboBox* list);
// Selects "Active" in a filled list (nothing when it is not there).
void SelectActiveDisplay(QComboBox* list);
// Loads a display chosen from a list and makes it "Active". False, changing
// nothing, when another process has deleted it since the list was filled.
bool LoadListedDisplay(const QString& name);

}  // namespace fluxo::config
