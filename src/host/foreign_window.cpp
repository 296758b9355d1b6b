#include "host/foreign_window.h"

namespace fluxo {

std::unique_ptr<QWindow> WrapForeignWindow(uint64_t id) {
  std::unique_ptr<QWindow> window(QWindow::fromWinId(static_cast<WId>(id)));
  // The platform reads the geometry when it wraps the window; a window that
  // does not exist has none.
  if (!window || !window->handle() || window->geometry().isEmpty()) return nullptr;
  return window;
}

std::optional<QSize> ForeignWindowSize(uint64_t id) {
  std::unique_ptr<QWindow> window = WrapForeignWindow(id);
  if (!window) return std::nullopt;
  return window->geometry().size();
}

}  // namespace fluxo
