#include "host/presenter_choice.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>

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

std::vector<std::string> XExtensionNames(xcb_connection_t* connection) {
  std::vector<std::string> names;
  if (!connection) return names;
  xcb_list_extensions_reply_t* reply = xcb_list_extensions_reply(connection, xcb_list_extensions(connection), nullptr);
  if (!reply) return names;
  for (xcb_str_iterator_t it = xcb_list_extensions_names_iterator(reply); it.rem > 0; xcb_str_next(&it)) {
    names.emplace_back(xcb_str_name(it.data), static_cast<size_t>(xcb_str_name_length(it.data)));
  }
  std::free(reply);
  return names;
}

bool OffersDirectRendering(const std::vector<std::string>& extensionNames) {
  return std::any_of(extensionNames.begin(), extensionNames.end(),
                     [](const std::string& name) { return name == "DRI3" || name == "DRI2" || name == "NV-GLX"; });
}

}  // namespace fluxo
