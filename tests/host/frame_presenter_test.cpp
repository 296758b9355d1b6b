#include "host/frame_presenter.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QPainter>
#include <vector>

#include "host/frame_image.h"

namespace fluxo {
namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kTeal = 0xFF008080u;
constexpr uint32_t kGreen = 0xFF00FF00u;

TEST(FrameToImage, ColoursComeFromThePaletteTable) {
  gdi::PaletteTable palette;
  const uint8_t rgb[3] = {0x12, 0x34, 0x56};
  palette.AnimateEntries(5, 1, rgb);  // logical entry 5 is pixel 15
  palette.SetEntry(gdi::PixelOfEntry(200), kRed);

  // 3x2, row-major: black, white, entry 5 / entry 200, fixed slot 6, entry 5.
  const uint8_t pixels[6] = {0, 255, 15, 210, 6, 15};
  QImage image = FrameToImage(pixels, 3, 2, palette);
  ASSERT_EQ(image.size(), QSize(3, 2));
  EXPECT_EQ(image.format(), QImage::Format_RGB32);
  EXPECT_EQ(image.pixel(0, 0), 0xFF000000u);
  EXPECT_EQ(image.pixel(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(image.pixel(2, 0), 0xFF123456u);
  EXPECT_EQ(image.pixel(0, 1), kRed);
  EXPECT_EQ(image.pixel(1, 1), kTeal);  // the platform's fixed dark cyan
  EXPECT_EQ(image.pixel(2, 1), 0xFF123456u);
}

TEST(FrameToImage, OddWidthsKeepRowsApart) {
  // Source rows of 5 pixels are not padded; each row must start at its own offset.
  gdi::PaletteTable palette;
  std::vector<uint8_t> pixels(5 * 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) pixels[y * 5 + x] = static_cast<uint8_t>(y == 1 ? 255 : 0);
  QImage image = FrameToImage(pixels.data(), 5, 3, palette);
  for (int x = 0; x < 5; ++x) {
    EXPECT_EQ(image.pixel(x, 0), 0xFF000000u);
    EXPECT_EQ(image.pixel(x, 1), 0xFFFFFFFFu);
    EXPECT_EQ(image.pixel(x, 2), 0xFF000000u);
  }
  EXPECT_TRUE(FrameToImage(pixels.data(), 0, 3, palette).isNull());
}

TEST(ConvertRegion, ConvertsOnlyTheRegionAndStaysInsideTheImage) {
  gdi::PaletteTable palette;
  uint32_t colours[gdi::kSystemPaletteSize];
  palette.CopyTo(colours);
  constexpr int kW = 8, kH = 6;
  const std::vector<uint8_t> pixels(kW * kH, 255);  // white everywhere
  QImage image(kW, kH, QImage::Format_RGB32);
  image.fill(kTeal);
  // Two rectangles side by side in one band, one below reaching past the image.
  const QRegion area = QRegion(0, 0, 2, 2) + QRegion(5, 0, 2, 2) + QRegion(6, 4, 10, 10);
  ConvertRegion(pixels.data(), kW, area, colours, image);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      EXPECT_EQ(image.pixel(x, y), area.contains(QPoint(x, y)) ? 0xFFFFFFFFu : kTeal) << x << "," << y;
}

class FramePresenterTest : public testing::Test {
 protected:
  void Publish(std::vector<uint8_t> pixels, int width, int height) {
    exchange_.Publish(pixels.data(), width, height);
  }
  // The window's image: converts what Refresh reports into `shown`.
  QRegion Present() {
    const QRegion changed = presenter_.Refresh();
    if (!changed.isEmpty()) {
      EXPECT_TRUE(presenter_.PaintInto(shown_, changed));
    }
    return changed;
  }
  gdi::PaletteTable palette_;
  gdi::FrameExchange exchange_;
  FramePresenter presenter_{exchange_, palette_};
  QImage shown_{2, 2, QImage::Format_RGB32};
};

TEST_F(FramePresenterTest, NothingToShowBeforeTheFirstFrame) {
  EXPECT_TRUE(presenter_.Refresh().isEmpty());
  palette_.SetEntry(20, kRed);  // colours alone make no picture
  EXPECT_TRUE(presenter_.Refresh().isEmpty());
  EXPECT_FALSE(presenter_.PaintInto(shown_, QRegion(0, 0, 2, 2)));

  QImage window(4, 4, QImage::Format_RGB32);
  window.fill(kRed);
  QPainter painter(&window);
  EXPECT_FALSE(presenter_.Draw(painter, window.rect()));
  painter.end();
  EXPECT_EQ(window.pixel(3, 3), 0xFF000000u);  // black until there is a picture
}

TEST_F(FramePresenterTest, ShowsTheNewestFrameAndNothingWhenNothingChanged) {
  Publish({0, 0, 0, 0}, 2, 2);
  Publish({255, 20, 20, 255}, 2, 2);
  EXPECT_EQ(Present(), QRegion(0, 0, 2, 2));
  EXPECT_EQ(shown_.pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(shown_.pixel(1, 0), palette_.Entry(20));
  EXPECT_TRUE(presenter_.Refresh().isEmpty());  // nothing new since

  Publish({255, 20, 20, 255}, 2, 2);  // a pass that drew the same picture
  EXPECT_TRUE(presenter_.Refresh().isEmpty());

  Publish({0, 0, 0, 0, 0, 0}, 3, 2);  // a frame of another size replaces the picture
  EXPECT_EQ(presenter_.Refresh(), QRegion(0, 0, 3, 2));
  EXPECT_FALSE(presenter_.PaintInto(shown_, QRegion(0, 0, 3, 2)));  // an image of the old size is left alone
  QImage wider(3, 2, QImage::Format_ARGB32_Premultiplied);
  ASSERT_TRUE(presenter_.PaintInto(wider, QRegion(0, 0, 3, 2)));
  EXPECT_EQ(wider.pixel(2, 1), 0xFF000000u);
  QImage indexed(3, 2, QImage::Format_Indexed8);
  EXPECT_FALSE(presenter_.PaintInto(indexed, QRegion(0, 0, 3, 2)));  // not RGB words
}

TEST_F(FramePresenterTest, OnlyTheChangedTilesAreConvertedAgain) {
  constexpr int kTileW = gdi::ChangedTiles::kTileWidth, kTileH = gdi::ChangedTiles::kTileHeight;
  constexpr int kW = 3 * kTileW, kH = 2 * kTileH;
  shown_ = QImage(kW, kH, QImage::Format_RGB32);
  std::vector<uint8_t> frame(kW * kH, 0);
  Publish(frame, kW, kH);
  EXPECT_EQ(Present(), QRegion(0, 0, kW, kH));

  shown_.fill(kTeal);  // marks what the next present leaves alone
  frame[1 * kW + kTileW + 2] = 255;         // the middle tile of the top band
  frame[(kTileH + 4) * kW + 2 * kTileW] = 20;  // the last tile of the bottom band
  Publish(frame, kW, kH);
  QRegion expected = QRegion(kTileW, 0, kTileW, kTileH) + QRegion(2 * kTileW, kTileH, kTileW, kTileH);
  EXPECT_EQ(Present(), expected);
  EXPECT_EQ(shown_.pixel(kTileW + 2, 1), 0xFFFFFFFFu);
  EXPECT_EQ(shown_.pixel(kTileW, 0), 0xFF000000u);  // whole tiles are converted
  EXPECT_EQ(shown_.pixel(2 * kTileW, kTileH + 4), palette_.Entry(20));
  EXPECT_EQ(shown_.pixel(0, 0), kTeal);              // the unchanged tiles are left alone
  EXPECT_EQ(shown_.pixel(2 * kTileW, 0), kTeal);
  EXPECT_EQ(shown_.pixel(kTileW, kTileH), kTeal);

  Publish(frame, kW, kH);  // the same picture and the same colours: nothing to present
  EXPECT_TRUE(presenter_.Refresh().isEmpty());
}

TEST_F(FramePresenterTest, APaletteTickRecoloursTheWholeLastFrame) {
  Publish({20, 21, 20, 0}, 2, 2);
  Present();
  EXPECT_NE(shown_.pixel(0, 0), kRed);

  palette_.SetEntry(20, kRed);
  EXPECT_EQ(Present(), QRegion(0, 0, 2, 2));
  EXPECT_EQ(shown_.pixel(0, 0), kRed);
  EXPECT_EQ(shown_.pixel(0, 1), kRed);
  EXPECT_EQ(shown_.pixel(1, 0), palette_.Entry(21));
  EXPECT_EQ(shown_.pixel(1, 1), 0xFF000000u);
  EXPECT_TRUE(presenter_.Refresh().isEmpty());

  // An entry outside the picture's indices changes nothing on the screen.
  palette_.SetEntry(100, kTeal);
  EXPECT_TRUE(Present().isEmpty());
  EXPECT_EQ(shown_.pixel(0, 0), kRed);
}

// A tick recolours the tiles whose indices reach a changed entry and leaves
// the rest alone; the ranges follow the picture.
TEST_F(FramePresenterTest, APaletteTickRecoloursOnlyTheTilesShowingAChangedEntry) {
  constexpr int kTileW = gdi::ChangedTiles::kTileWidth, kTileH = gdi::ChangedTiles::kTileHeight;
  constexpr int kW = 3 * kTileW + 5, kH = 2 * kTileH;  // a narrow tile at the right edge
  shown_ = QImage(kW, kH, QImage::Format_RGB32);
  std::vector<uint8_t> frame(kW * kH, 0);
  auto at = [&](int x, int y) -> uint8_t& { return frame[static_cast<size_t>(y) * kW + x]; };
  at(3, 3) = 20;                           // top left: 0..20
  at(kTileW + 1, 1) = 10;                  // top middle: 0..30, 20 between
  at(kTileW + 2, 2) = 30;
  at(3 * kTileW + 4, kTileH + 15) = 20;    // bottom right, narrow: 0..20
  Publish(frame, kW, kH);
  Present();

  shown_.fill(kTeal);
  palette_.SetEntry(20, kRed);
  const QRegion expected = QRegion(0, 0, 2 * kTileW, kTileH) + QRegion(3 * kTileW, kTileH, 5, kTileH);
  EXPECT_EQ(Present(), expected);
  EXPECT_EQ(shown_.pixel(3, 3), kRed);
  EXPECT_EQ(shown_.pixel(3 * kTileW + 4, kTileH + 15), kRed);
  EXPECT_EQ(shown_.pixel(2 * kTileW, 0), kTeal);  // black only: left alone

  // A tick together with a new frame: the tile that took the entry up is
  // recoloured, and so is the one that gave it up, because it changed.
  at(2 * kTileW + 7, kTileH + 1) = 20;
  at(3, 3) = 0;
  Publish(frame, kW, kH);
  palette_.SetEntry(20, kGreen);
  shown_.fill(kTeal);
  EXPECT_EQ(Present(), QRegion(0, 0, 2 * kTileW, kTileH) + QRegion(2 * kTileW, kTileH, kTileW + 5, kTileH));
  EXPECT_EQ(shown_.pixel(2 * kTileW + 7, kTileH + 1), kGreen);
  EXPECT_EQ(shown_.pixel(3, 3), 0xFF000000u);
  palette_.SetEntry(20, kRed);  // the one that gave it up is left out from now on
  EXPECT_EQ(Present(), QRegion(kTileW, 0, kTileW, kTileH) + QRegion(2 * kTileW, kTileH, kTileW + 5, kTileH));

  // The fixed black of every tile changes: the whole picture is redone.
  palette_.SetEntry(0, kTeal);
  EXPECT_EQ(Present(), QRegion(0, 0, kW, kH));
}

TEST_F(FramePresenterTest, WhereAShaderLooksColoursUpATickNeedsNoTilesOnlyNews) {
  constexpr int kTileW = gdi::ChangedTiles::kTileWidth, kTileH = gdi::ChangedTiles::kTileHeight;
  constexpr int kW = 2 * kTileW, kH = kTileH;
  std::vector<uint8_t> frame(kW * kH, 20);
  Publish(frame, kW, kH);
  presenter_.LookUpColoursWhenDrawing();
  EXPECT_EQ(presenter_.Refresh(), QRegion(0, 0, kW, kH));  // the first frame is all new pixels

  palette_.SetEntry(20, kRed);  // every pixel shows it, yet no pixel changed
  EXPECT_TRUE(presenter_.Refresh().isEmpty());
  EXPECT_TRUE(presenter_.ColoursChanged());
  EXPECT_TRUE(presenter_.Refresh().isEmpty());
  EXPECT_FALSE(presenter_.ColoursChanged());  // told once

  frame[kTileW + 3] = 21;
  Publish(frame, kW, kH);
  palette_.SetEntry(20, kGreen);
  EXPECT_EQ(presenter_.Refresh(), QRegion(kTileW, 0, kTileW, kTileH));  // the pixels only
  EXPECT_TRUE(presenter_.ColoursChanged());
}

TEST_F(FramePresenterTest, AWindowOfAnotherSizeGetsTheWholePictureScaled) {
  palette_.SetEntry(20, kRed);
  Publish({20, 255, 0, 20}, 2, 2);
  presenter_.Refresh();
  QImage window(4, 4, QImage::Format_RGB32);
  window.fill(kTeal);
  QPainter painter(&window);
  EXPECT_TRUE(presenter_.Draw(painter, window.rect()));
  painter.end();
  EXPECT_EQ(window.pixel(0, 0), kRed);
  EXPECT_EQ(window.pixel(3, 0), 0xFFFFFFFFu);
  EXPECT_EQ(window.pixel(0, 3), 0xFF000000u);
  EXPECT_EQ(window.pixel(3, 3), kRed);
  EXPECT_EQ(window.pixel(1, 1), kRed);
}

}  // namespace
}  // namespace fluxo
