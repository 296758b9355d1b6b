#include "host/frame_presenter.h"

#include <gtest/gtest.h>

#include <QColor>
#include <vector>

#include "host/frame_image.h"

namespace fluxo {
namespace {

constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kTeal = 0xFF008080u;

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

class FramePresenterTest : public testing::Test {
 protected:
  void Publish(std::vector<uint8_t> pixels, int width, int height) {
    exchange_.Publish(pixels.data(), width, height);
  }
  gdi::PaletteTable palette_;
  gdi::FrameExchange exchange_;
  FramePresenter presenter_{exchange_, palette_};
};

TEST_F(FramePresenterTest, NothingToShowBeforeTheFirstFrame) {
  EXPECT_FALSE(presenter_.Refresh());
  EXPECT_TRUE(presenter_.Image().isNull());
  palette_.SetEntry(20, kRed);  // colours alone make no picture
  EXPECT_FALSE(presenter_.Refresh());
  EXPECT_TRUE(presenter_.Image().isNull());
}

TEST_F(FramePresenterTest, ShowsTheNewestFrame) {
  Publish({0, 0, 0, 0}, 2, 2);
  Publish({255, 20, 20, 255}, 2, 2);
  ASSERT_TRUE(presenter_.Refresh());
  EXPECT_EQ(presenter_.Image().pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(presenter_.Image().pixel(1, 0), palette_.Entry(20));
  EXPECT_FALSE(presenter_.Refresh());  // nothing new since

  Publish({0, 0, 0, 0, 0, 0}, 3, 2);  // a frame of another size replaces the picture
  ASSERT_TRUE(presenter_.Refresh());
  EXPECT_EQ(presenter_.Image().size(), QSize(3, 2));
  EXPECT_EQ(presenter_.Image().pixel(2, 1), 0xFF000000u);
}

TEST_F(FramePresenterTest, APaletteTickRecoloursTheLastFrame) {
  Publish({20, 21, 20, 0}, 2, 2);
  ASSERT_TRUE(presenter_.Refresh());
  EXPECT_NE(presenter_.Image().pixel(0, 0), kRed);

  palette_.SetEntry(20, kRed);
  ASSERT_TRUE(presenter_.Refresh());
  EXPECT_EQ(presenter_.Image().pixel(0, 0), kRed);
  EXPECT_EQ(presenter_.Image().pixel(0, 1), kRed);
  EXPECT_EQ(presenter_.Image().pixel(1, 0), palette_.Entry(21));
  EXPECT_EQ(presenter_.Image().pixel(1, 1), 0xFF000000u);
  EXPECT_FALSE(presenter_.Refresh());

  // An entry no pixel uses still changes the table; the picture is redone
  // but stays the same.
  palette_.SetEntry(100, kTeal);
  EXPECT_TRUE(presenter_.Refresh());
  EXPECT_EQ(presenter_.Image().pixel(0, 0), kRed);
}

}  // namespace
}  // namespace fluxo
