#pragma once

class QComboBox;

namespace fluxo::config {

// Fills a saved-display list: the stored displays in store order (at most
// 1000) with "Active" selected. The combo box keeps its edit text otherwise.
void FillDisplayList(QComboBox* list);
// Selects "Active" in a filled list (nothing when it is not there).
void SelectActiveDisplay(QComboBox* list);

}  // namespace fluxo::config
