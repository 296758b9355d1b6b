#include <gtest/gtest.h>

#include "gdi/surface_pictures.h"
#include "platform/gdi/font_face.h"
#include "platform/gdi/text_decode.h"
#include "platform/gdi/text_layout.h"

namespace fluxo::gdi {
namespace {

std::vector<std::u32string> Lines(std::u32string_view text, uint32_t flags, int width) {
  std::vector<std::u32string> out;
  for (const TextLine& line : LayoutText(text, flags, width, [](char32_t) { return 1; })) {
    out.emplace_back(text.substr(line.begin, line.end - line.begin));
    EXPECT_EQ(line.width, static_cast<int>(line.end - line.begin));
  }
  return out;
}

TEST(TextLayout, LineFeedsBreakLinesUnlessSingleLine) {
  EXPECT_EQ(Lines(U"one\ntwo\r\nthree\rfour", 0, 100),
            (std::vector<std::u32string>{U"one", U"two", U"three", U"four"}));
  EXPECT_EQ(Lines(U"a\n\nb", 0, 100), (std::vector<std::u32string>{U"a", U"", U"b"}));
  EXPECT_EQ(Lines(U"one\ntwo", kTextSingleLine, 100).size(), 1u);
}

TEST(TextLayout, WordBreakWrapsAtSpacesAndDropsTheSpacesAtTheBreak) {
  EXPECT_EQ(Lines(U"aa bb cc", kTextWordBreak, 5), (std::vector<std::u32string>{U"aa bb", U"cc"}));
  EXPECT_EQ(Lines(U"aa   bb", kTextWordBreak, 3), (std::vector<std::u32string>{U"aa", U"bb"}));
  EXPECT_EQ(Lines(U"aa bb\ncc dd", kTextWordBreak, 2), (std::vector<std::u32string>{U"aa", U"bb", U"cc", U"dd"}));
  EXPECT_EQ(Lines(U"fits exactly", kTextWordBreak, 12), (std::vector<std::u32string>{U"fits exactly"}));
}

TEST(TextLayout, AWordWiderThanTheLineIsSplitBetweenCharacters) {
  EXPECT_EQ(Lines(U"abcdefg hi", kTextWordBreak, 3), (std::vector<std::u32string>{U"abc", U"def", U"g", U"hi"}));
  // Even a zero-width box gets one character per line rather than looping.
  EXPECT_EQ(Lines(U"xyz", kTextWordBreak, 0), (std::vector<std::u32string>{U"x", U"y", U"z"}));
}

TEST(TextDecode, Utf8WithLatin1Fallback) {
  EXPECT_EQ(DecodeText("caf\xC3\xA9"), U"caf\u00E9");
  EXPECT_EQ(DecodeText("caf\xE9"), U"caf\u00E9");                // a lone Latin-1 byte
  EXPECT_EQ(DecodeText("\xC3"), U"\u00C3");                      // cut short
  EXPECT_EQ(DecodeText("\xE2\x82\xAC!"), U"\u20AC!");            // euro sign
  EXPECT_EQ(DecodeText("\xED\xA0\x80"), U"\u00ED\u00A0\u0080");  // no surrogates
}

TEST(FontFace, DeviceFontLoadsWithALineOfAboutSixteenPixels) {
  const FontFace& font = FontFace::Default();
  ASSERT_TRUE(font.Loaded()) << "DejaVu Sans (fonts-dejavu-core) is required";
  EXPECT_GE(font.Height(), 14);
  EXPECT_LE(font.Height(), 18);
  EXPECT_GT(font.Ascent(), font.Height() / 2);
  EXPECT_GT(font.GlyphOf(U'W').advance, font.GlyphOf(U'i').advance);
  EXPECT_EQ(font.GlyphOf(U'\t').advance, 0);
}

TEST(FontFace, MissingFontMeasuresNothing) {
  const FontFace font("/nonexistent/fluxo-font.ttf", 0, 13);
  EXPECT_FALSE(font.Loaded());
  EXPECT_EQ(font.Height(), 0);
  EXPECT_EQ(font.Measure(U"Hello"), 0);
  EXPECT_TRUE(font.GlyphOf(U'A').on.empty());
}

TEST(SurfaceText, MeasureAddsUpAdvances) {
  const FrameSurface s(10, 10);
  EXPECT_GT(s.MeasureText("Hello"), 0);
  EXPECT_EQ(s.MeasureText("Hello world"), s.MeasureText("Hello") + s.MeasureText(" world"));
  EXPECT_EQ(s.MeasureText(""), 0);
  EXPECT_EQ(s.TextHeight(), FontFace::Default().Height());
}

TEST(SurfaceText, TextOutDrawsInsideItsCellInTheTextColour) {
  FrameSurface s(80, 30);
  s.SetTextColor(PaletteIndex(50));
  s.SetBackgroundMode(BackgroundMode::Transparent);
  s.TextOut(5, 7, "Fluxo");
  const Rect ink = test::BoundsOf(s, PixelOfEntry(50));
  ASSERT_FALSE(ink.Empty());
  EXPECT_GE(ink.left, 5);
  EXPECT_LE(ink.right, 5 + s.MeasureText("Fluxo"));
  EXPECT_GE(ink.top, 7);
  EXPECT_LE(ink.bottom, 7 + s.TextHeight());
  // Thresholded glyphs: only the text colour and the untouched background.
  EXPECT_EQ(test::CountPixels(s, PixelOfEntry(50)) + test::CountPixels(s, kBlackPixel), 80 * 30);
}

TEST(SurfaceText, OpaqueBackgroundFillsTheCell) {
  FrameSurface s(80, 30);
  s.SetTextColor(kBlack);
  s.SetBackgroundColor(kWhite);
  s.SetBackgroundMode(BackgroundMode::Opaque);
  s.TextOut(2, 3, "Box");
  const Rect cell{2, 3, 2 + s.MeasureText("Box"), 3 + s.TextHeight()};
  EXPECT_EQ(test::BoundsOf(s, kWhitePixel), cell);
  EXPECT_GT(test::CountPixels(s, kBlackPixel), 80 * 30 - cell.Width() * cell.Height());  // the glyphs
}

TEST(SurfaceText, DrawTextCentresASingleLineBothWays) {
  FrameSurface s(120, 50);
  s.SetTextColor(kWhite);
  s.SetBackgroundMode(BackgroundMode::Transparent);
  Rect r{10, 4, 110, 44};
  const int height = s.DrawText("Centre", r, kTextCenter | kTextVCenter | kTextSingleLine);
  EXPECT_EQ(height, s.TextHeight());
  FrameSurface expected(120, 50);
  expected.SetTextColor(kWhite);
  expected.SetBackgroundMode(BackgroundMode::Transparent);
  expected.TextOut(10 + (100 - s.MeasureText("Centre")) / 2, 4 + (40 - s.TextHeight()) / 2, "Centre");
  EXPECT_GT(test::CountPixels(s, kWhitePixel), 0);
  EXPECT_EQ(test::Picture(s), test::Picture(expected));
}

TEST(SurfaceText, DrawTextWrapsWordsAndCalcRectMeasuresWithoutDrawing) {
  FrameSurface s(200, 120);
  const std::string text = "several words that cannot share one narrow line";
  Rect measured{0, 0, 90, 0};
  const int height = s.DrawText(text, measured, kTextWordBreak | kTextCalcRect);
  EXPECT_EQ(test::CountPixels(s, kBlackPixel), 200 * 120);
  EXPECT_GE(height, 3 * s.TextHeight());
  EXPECT_EQ(height % s.TextHeight(), 0);
  EXPECT_EQ(measured.bottom, height);
  EXPECT_LE(measured.right, 90);
  EXPECT_GT(measured.right, 30);
  // Drawn into that rectangle the text stays inside it.
  s.SetTextColor(kWhite);
  s.SetBackgroundMode(BackgroundMode::Transparent);
  Rect box{20, 10, 110, 110};
  EXPECT_EQ(s.DrawText(text, box, kTextWordBreak | kTextCenter), height);
  const Rect ink = test::BoundsOf(s, kWhitePixel);
  EXPECT_GE(ink.left, 20);
  EXPECT_LE(ink.right, 110);
  EXPECT_LE(ink.bottom, 10 + height);
  // Single-line calculation gives the measured width.
  Rect line{5, 5, 6, 6};
  s.DrawText("Hello", line, kTextSingleLine | kTextCalcRect);
  EXPECT_EQ(line, (Rect{5, 5, 5 + s.MeasureText("Hello"), 5 + s.TextHeight()}));
}

TEST(SurfaceText, DrawTextClipsToItsRectangle) {
  FrameSurface s(100, 40);
  s.SetTextColor(kWhite);
  s.SetBackgroundMode(BackgroundMode::Opaque);
  s.SetBackgroundColor(PaletteIndex(1));
  Rect r{10, 10, 30, 20};
  s.DrawText("A much longer text than fits", r, kTextSingleLine);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 100; ++x) {
      if (x < 10 || x >= 30 || y < 10 || y >= 20) {
        ASSERT_EQ(s.PixelAt(x, y), kBlackPixel) << x << "," << y;
      }
    }
  }
  EXPECT_GT(test::CountPixels(s, kWhitePixel), 0);
}

}  // namespace
}  // namespace fluxo::gdi
