#pragma once
#include <QIcon>

namespace fluxo::config {

// The small pictures of the page list, by icon id: 102 custom palette,
// 103 module, 104 palette, 105 main settings, 106 video mode, 107 sound,
// 108 auxiliary settings, 109 saved displays. Other ids give a plain square.
QIcon PageIcon(int iconId);

}  // namespace fluxo::config
