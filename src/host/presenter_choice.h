#pragma once
#include <xcb/xcb.h>

#include <string>
#include <string_view>
#include <vector>

namespace fluxo {

// How the saver's pictures reach the screen, as FLUXO_PRESENTER asks.
enum class PresenterRequest {
  Automatic,  // OpenGL where the renderer is hardware, otherwise the raster path
  Raster,     // the processor converts the colours
  Gl,         // a shader looks the colours up, wherever a context can be had
};

// Reads FLUXO_PRESENTER's value (null when unset). "raster" and "gl", in any
// case, force a path; an unset or empty value chooses automatically, and so
// does any other value, with `warning` set to a line for the user.
PresenterRequest ParsePresenterRequest(const char* value, std::string& warning);

// True for renderers that draw with the processor (Mesa's llvmpipe, softpipe
// and swrast, and their kind): there the shader costs more than the raster
// path, so the automatic choice leaves them alone.
bool IsSoftwareRenderer(std::string_view renderer);

// True for the Qt platforms where the OpenGL path is known to work: X.
// Wayland, the offscreen and the other platforms keep the raster path.
bool PlatformMayPresentWithGl(std::string_view platformName);

// The names of the extensions an X server offers; none without a connection.
std::vector<std::string> XExtensionNames(xcb_connection_t* connection);

// True when an X server with these extensions offers direct rendering, which
// hardware OpenGL needs on X: DRI3 or DRI2 (Mesa's drivers) or NV-GLX
// (NVIDIA's). Without any, only a software renderer can be had, and the
// automatic choice need not make a context to learn that.
bool OffersDirectRendering(const std::vector<std::string>& extensionNames);

}  // namespace fluxo
