#include "host/presenter_choice.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace fluxo {
namespace {

std::string Lowered(std::string_view text) {
  std::string lowered(text);
  std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lowered;
}

}  // namespace

PresenterRequest ParsePresenterRequest(const char* value, std::string& warning) {
  warning.clear();
  if (!value || !*value) return PresenterRequest::Automatic;
  const std::string lowered = Lowered(value);
  if (lowered == "raster") return PresenterRequest::Raster;
  if (lowered == "gl") return PresenterRequest::Gl;
  warning = "fluxo: FLUXO_PRESENTER=" + std::string(value) + " is neither raster nor gl; choosing automatically";
  return PresenterRequest::Automatic;
}

bool IsSoftwareRenderer(std::string_view renderer) {
  static constexpr std::array<std::string_view, 8> kSoftware = {
      "llvmpipe", "softpipe", "swrast", "software rasterizer", "software renderer",
      "microsoft basic render", "swiftshader", "gdi generic",
  };
  const std::string lowered = Lowered(renderer);
  return std::any_of(kSoftware.begin(), kSoftware.end(),
                     [&](std::string_view name) { return lowered.find(name) != std::string::npos; });
}

bool PlatformMayPresentWithGl(std::string_view platformName) {
  return platformName == "xcb";
}

}  // namespace fluxo
