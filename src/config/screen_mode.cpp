#include "config/screen_mode.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cmath>

namespace fluxo::config {

VideoMode CurrentScreenMode() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  // Geometry is in device-independent pixels; the mode is in real ones.
  const QSize size = screen->geometry().size() * screen->devicePixelRatio();
  return {static_cast<uint32_t>(std::max(screen->depth(), 0)), static_cast<uint32_t>(size.width()),
          static_cast<uint32_t>(size.height()),
          static_cast<uint32_t>(std::lround(std::max(screen->refreshRate(), 0.0)))};
}

}  // namespace fluxo::config
