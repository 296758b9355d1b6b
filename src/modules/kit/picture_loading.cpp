#include "modules/kit/picture_loading.h"

#include <algorithm>
#include <atomic>
#include <cctype>

#include "modules/kit/bitmap_file.h"

namespace fluxo::kit {
namespace {

std::atomic<PictureImporter> g_importer{nullptr};

bool IsBitmapFileName(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  std::transform(tail.begin(), tail.end(), tail.begin(),
                 [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
  return tail == ".bmp" || tail == ".dib" || tail == ".rle";
}

}  // namespace

void SetPictureImporter(PictureImporter importer) { g_importer.store(importer); }

std::optional<SourceDib> LoadPictureFile(const std::string& path) {
  if (IsBitmapFileName(path)) return ReadBitmapFile(path);
  const PictureImporter importer = g_importer.load();
  if (!importer) return std::nullopt;
  std::optional<SourceDib> picture = importer(path);
  // An importer's result is checked like a file's: whole rows, a sane size.
  if (picture && (!PictureSizeAcceptable(picture->width, picture->height) ||
                  picture->bits.size() < picture->Stride() * static_cast<size_t>(picture->height)))
    return std::nullopt;
  return picture;
}

}  // namespace fluxo::kit
