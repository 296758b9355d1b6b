#include "host/picture_import.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <filesystem>
#include <string>

#include "modules/kit/index_picture.h"
#include "modules/kit/picture_loading.h"
#include "support/test_environment.h"

namespace fluxo {
namespace {

std::string PathFor(const std::string& name) {
  std::filesystem::create_directories(test::TestHome() + "/pictures");
  return test::TestHome() + "/pictures/" + name;
}

std::vector<uint8_t> GreysOf(const kit::SourceDib& dib) {
  std::optional<kit::IndexPicture> picture = kit::ConvertToIndexPicture(dib, false);
  if (!picture) return {};
  std::vector<uint8_t> out;
  for (int y = 0; y < picture->height; ++y)
    for (int x = 0; x < picture->width; ++x) out.push_back(picture->pixels[y * picture->Stride() + x]);
  return out;
}

TEST(PictureImportTest, TrueColourPicturesBecomeTheMeanOfTheirColours) {
  QImage image(3, 2, QImage::Format_RGB32);
  image.fill(qRgb(0, 0, 0));
  image.setPixel(0, 0, qRgb(90, 60, 30));
  image.setPixel(2, 1, qRgb(255, 255, 255));
  const std::string path = PathFor("colours.png");
  ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG"));
  std::optional<kit::SourceDib> dib = ImportPicture(path);
  ASSERT_TRUE(dib);
  EXPECT_TRUE(dib->topDown);
  EXPECT_EQ(GreysOf(*dib), (std::vector<uint8_t>{60, 0, 0, 0, 0, 255}));
}

TEST(PictureImportTest, JpegPicturesAreRead) {
  QImage image(16, 8, QImage::Format_RGB32);
  image.fill(qRgb(128, 128, 128));
  const std::string path = PathFor("flat.jpg");
  ASSERT_TRUE(image.save(QString::fromStdString(path), "JPEG", 95));
  std::optional<kit::SourceDib> dib = ImportPicture(path);
  ASSERT_TRUE(dib);
  ASSERT_EQ(dib->width, 16);
  for (uint8_t grey : GreysOf(*dib)) EXPECT_NEAR(grey, 128, 3);
}

TEST(PictureImportTest, OneBitPicturesKeepEveryPixelAndTheirColourTable) {
  QImage image(5, 3, QImage::Format_Mono);
  image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  image.fill(0);
  image.setPixel(1, 0, 1);
  image.setPixel(4, 2, 1);
  const std::string path = PathFor("mono.png");
  ASSERT_TRUE(image.save(QString::fromStdString(path), "PNG"));
  std::optional<kit::SourceDib> dib = ImportPicture(path);
  ASSERT_TRUE(dib);
  ASSERT_EQ(dib->bitsPerPixel, 8);
  ASSERT_GE(dib->colours.size(), 2u);
  std::vector<uint8_t> expected(15, 0);
  expected[1] = 1;
  expected[14] = 1;
  // The indices themselves, whatever order the table came in.
  std::vector<uint8_t> white(15, 0);
  for (int i = 0; i < 15; ++i) {
    const kit::DibColour& c = dib->colours.at(GreysOf(*dib)[i]);
    white[i] = c.red == 255 ? 1 : 0;
  }
  EXPECT_EQ(white, expected);
}

TEST(PictureImportTest, UnreadableOrAbsurdPicturesGiveNothing) {
  EXPECT_FALSE(ImportPicture(PathFor("missing.png")));
  const std::string garbage = PathFor("garbage.png");
  QFile file(QString::fromStdString(garbage));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a picture at all");
  file.close();
  EXPECT_FALSE(ImportPicture(garbage));

  // A PNG header announcing 100000 x 100000 pixels.
  QImage tiny(1, 1, QImage::Format_RGB32);
  tiny.fill(0);
  const std::string huge = PathFor("huge.png");
  ASSERT_TRUE(tiny.save(QString::fromStdString(huge), "PNG"));
  QFile png(QString::fromStdString(huge));
  ASSERT_TRUE(png.open(QIODevice::ReadWrite));
  QByteArray bytes = png.readAll();
  const char size[8] = {0, 1, (char)0x86, (char)0xA0, 0, 1, (char)0x86, (char)0xA0};
  bytes.replace(16, 8, QByteArray(size, 8));
  png.seek(0);
  png.write(bytes);
  png.close();
  EXPECT_FALSE(ImportPicture(huge));
}

TEST(PictureImportTest, TheInstalledImporterServesEveryFormatButBitmapFiles) {
  InstallPictureImport();
  QImage image(4, 4, QImage::Format_RGB32);
  image.fill(qRgb(30, 60, 90));
  const std::string png = PathFor("upper.PNG");
  ASSERT_TRUE(image.save(QString::fromStdString(png), "PNG"));
  EXPECT_TRUE(kit::LoadPictureFile(png));
  // A ".bmp" name goes to our own reader, which does not read PNG.
  const std::string misnamed = PathFor("really-a-png.BMP");
  ASSERT_TRUE(image.save(QString::fromStdString(misnamed), "PNG"));
  EXPECT_FALSE(kit::LoadPictureFile(misnamed));
  kit::SetPictureImporter(nullptr);
  EXPECT_FALSE(kit::LoadPictureFile(png));
}

TEST(PictureImportTest, TheFormatTextStartsWithOurOwnAndListsTheReaders) {
  const std::string text = SupportedFormatsText();
  EXPECT_EQ(text.rfind("*.rle *.dib", 0), 0u);
  EXPECT_NE(text.find(", *.png"), std::string::npos);
  EXPECT_NE(text.find(", *.jpg"), std::string::npos);
  EXPECT_EQ(text.find("*.bmp"), std::string::npos);
}

}  // namespace
}  // namespace fluxo
