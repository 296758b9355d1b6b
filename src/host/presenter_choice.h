#pragma once
#include <string>
#include <string_view>

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

}  // namespace fluxo
