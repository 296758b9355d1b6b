#pragma once
#include <ostream>
#include <string>

namespace fluxo {

// Writes a saved display readably: its modules with each control's source and
// value (or range and sense), the sequence list, and the palette effects. The
// module table must hold the names and control definitions.
void ShowDisplay(const std::string& name, std::ostream& out);

}  // namespace fluxo
