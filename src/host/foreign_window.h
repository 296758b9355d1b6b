#pragma once
#include <QSize>
#include <QWindow>
#include <cstdint>
#include <memory>
#include <optional>

namespace fluxo {

// The current size of an X window of another program (a preview pane,
// xscreensaver's window), asked of the X server each time: Qt neither reads
// nor follows a foreign window's geometry. Empty when the window does not
// exist or the display is not X11.
std::optional<QSize> ForeignWindowSize(uint64_t id);

// Wraps a window that ForeignWindowSize found, so the saver window can live
// inside it; null when the platform cannot wrap foreign windows.
std::unique_ptr<QWindow> WrapForeignWindow(uint64_t id);

}  // namespace fluxo
