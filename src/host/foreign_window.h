#pragma once
#include <QSize>
#include <QWindow>
#include <cstdint>
#include <memory>
#include <optional>

namespace fluxo {

// A window of another program (a preview pane, xscreensaver's window), wrapped
// so the saver window can live inside it. Null when the platform cannot wrap
// foreign windows or the window does not exist.
std::unique_ptr<QWindow> WrapForeignWindow(uint64_t id);

// The foreign window's current size, asked of the display server each time:
// Qt does not follow a foreign window's resizes. Empty when it is gone.
std::optional<QSize> ForeignWindowSize(uint64_t id);

}  // namespace fluxo
