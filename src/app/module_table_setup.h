#pragma once

namespace fluxo {

// The module table as a start of the program prepares it before any display
// is loaded: settings names, module names, control definitions and the kept
// main settings (so presets can be made and the main settings they write
// back are the stored ones).
void PrepareModuleTable();

}  // namespace fluxo
