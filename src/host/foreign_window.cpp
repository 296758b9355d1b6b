#include "host/foreign_window.h"

#include <dlfcn.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdlib>

namespace fluxo {
namespace {

// The X protocol's GetGeometry request as libxcb exposes it. The layouts are
// fixed by the protocol; libxcb is taken from the process (Qt's X11 platform
// loaded it), so the program needs neither its headers nor a link to it.
struct GeometryCookie {
  unsigned int sequence;
};
struct GeometryReply {
  uint8_t responseType;
  uint8_t depth;
  uint16_t sequence;
  uint32_t length;
  uint32_t root;
  int16_t x;
  int16_t y;
  uint16_t width;
  uint16_t height;
  uint16_t borderWidth;
  uint8_t pad[2];
};
using GetGeometry = GeometryCookie (*)(xcb_connection_t*, uint32_t drawable);
using GetGeometryReply = GeometryReply* (*)(xcb_connection_t*, GeometryCookie, void** error);

struct XcbGeometry {
  GetGeometry request = nullptr;
  GetGeometryReply reply = nullptr;
};

const XcbGeometry& LoadXcbGeometry() {
  static const XcbGeometry xcb = [] {
    XcbGeometry found;
    if (void* library = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD)) {
      found.request = reinterpret_cast<GetGeometry>(dlsym(library, "xcb_get_geometry"));
      found.reply = reinterpret_cast<GetGeometryReply>(dlsym(library, "xcb_get_geometry_reply"));
    }
    return found;
  }();
  return xcb;
}

}  // namespace

std::optional<QSize> ForeignWindowSize(uint64_t id) {
  if (id == 0 || id > UINT32_MAX) return std::nullopt;  // X ids are 32-bit
  // Other platforms (offscreen among them) may speak X11 for their own needs
  // without having a display to embed into.
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return std::nullopt;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  const XcbGeometry& xcb = LoadXcbGeometry();
  if (!connection || !xcb.request || !xcb.reply) return std::nullopt;

  void* error = nullptr;
  GeometryReply* reply = xcb.reply(connection, xcb.request(connection, static_cast<uint32_t>(id)), &error);
  std::free(error);
  if (!reply) return std::nullopt;
  const double ratio = qGuiApp->devicePixelRatio();
  const QSize size(static_cast<int>(std::lround(reply->width / ratio)),
                   static_cast<int>(std::lround(reply->height / ratio)));
  std::free(reply);
  return size;
}

std::unique_ptr<QWindow> WrapForeignWindow(uint64_t id) {
  std::unique_ptr<QWindow> window(QWindow::fromWinId(static_cast<WId>(id)));
  if (!window || !window->handle()) return nullptr;
  return window;
}

}  // namespace fluxo
