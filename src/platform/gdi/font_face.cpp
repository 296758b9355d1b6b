#include "platform/gdi/font_face.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>
#include <unordered_map>

namespace fluxo::gdi {
namespace {

// DejaVu Sans at 13 pixels per em has a 16-pixel line, the height of the
// platform's stock variable-pitch font.
constexpr int kDevicePixelSize = 13;
constexpr int kCoverageThreshold = 128;

struct FontLocation {
  std::string file;  // empty when no font was found
  int index = 0;
};

// The best match for DejaVu Sans, falling back to sans-serif.
FontLocation LocateDeviceFont() {
  FontLocation location;
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return location;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("DejaVu Sans"));
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern, &result);
  if (match != nullptr) {
    FcChar8* path = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
      location.file = reinterpret_cast<const char*>(path);
      if (FcPatternGetInteger(match, FC_INDEX, 0, &location.index) != FcResultMatch) location.index = 0;
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  FcConfigDestroy(config);
  return location;
}

}  // namespace

struct FontFace::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  std::mutex mutex;                            // FreeType faces are not thread-safe; guards the cache too
  std::unordered_map<char32_t, Glyph> glyphs;  // nodes stay put: references remain valid

  Glyph Render(char32_t codePoint) {
    Glyph glyph;
    if (face == nullptr || codePoint < 0x20 || codePoint == 0x7F) return glyph;
    if (FT_Load_Char(face, codePoint, FT_LOAD_DEFAULT) != 0) return glyph;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return glyph;
    const FT_GlyphSlot slot = face->glyph;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = static_cast<int>(slot->bitmap.width);
    glyph.rows = static_cast<int>(slot->bitmap.rows);
    glyph.on.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    for (int y = 0; y < glyph.rows; ++y) {
      const unsigned char* row = slot->bitmap.buffer + static_cast<ptrdiff_t>(y) * slot->bitmap.pitch;
      for (int x = 0; x < glyph.width; ++x) {
        glyph.on[static_cast<size_t>(y) * glyph.width + x] = row[x] >= kCoverageThreshold ? 1 : 0;
      }
    }
    return glyph;
  }
};

FontFace::FontFace(const std::string& file, int index, int pixelSize) : impl_(std::make_unique<Impl>()) {
  if (FT_Init_FreeType(&impl_->library) != 0) {
    impl_->library = nullptr;
    return;
  }
  if (file.empty() || FT_New_Face(impl_->library, file.c_str(), index, &impl_->face) != 0) {
    impl_->face = nullptr;
    return;
  }
  if (FT_Set_Pixel_Sizes(impl_->face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
    FT_Done_Face(impl_->face);
    impl_->face = nullptr;
    return;
  }
  const FT_Size_Metrics& metrics = impl_->face->size->metrics;
  ascent_ = static_cast<int>((metrics.ascender + 63) >> 6);
  height_ = ascent_ + static_cast<int>((-metrics.descender + 63) >> 6);
}

FontFace::~FontFace() {
  if (impl_->face != nullptr) FT_Done_Face(impl_->face);
  if (impl_->library != nullptr) FT_Done_FreeType(impl_->library);
}

const FontFace& FontFace::Default() {
  static const FontLocation location = LocateDeviceFont();
  static const FontFace face(location.file, location.index, kDevicePixelSize);
  return face;
}

bool FontFace::Loaded() const { return impl_->face != nullptr; }

const Glyph& FontFace::GlyphOf(char32_t codePoint) const {
  std::lock_guard lock(impl_->mutex);
  auto found = impl_->glyphs.find(codePoint);
  if (found == impl_->glyphs.end()) found = impl_->glyphs.emplace(codePoint, impl_->Render(codePoint)).first;
  return found->second;
}

int FontFace::Measure(std::u32string_view text) const {
  if (!Loaded()) return 0;
  int width = 0;
  for (char32_t c : text) width += GlyphOf(c).advance;
  return width;
}

}  // namespace fluxo::gdi
