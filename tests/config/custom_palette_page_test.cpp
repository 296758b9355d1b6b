#include "config/custom_palette_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <array>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "config/config_session.h"
#include "config/last_folder.h"
#include "config/page_factories.h"
#include "config/swatch_grid.h"
#include "palette/pal_file.h"
#include "settings/display_fixture.h"
#include "support/test_environment.h"

namespace fluxo::test {
namespace {

using config::CustomPalettePage;
using config::SwatchGrid;
using Bytes = std::vector<uint8_t>;

Bytes ReadAll(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

class CustomPalettePageTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    for (int i = 0; i < kPaletteEntries; ++i)
      palette->customEntries[i] = {static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i),
                                   static_cast<uint8_t>((i * 5) & 255), 1};
    std::copy(std::begin(palette->customEntries), std::end(palette->customEntries), original.begin());
    session = std::make_unique<config::ConfigSession>();
    page.reset(static_cast<CustomPalettePage*>(config::CreateCustomPalettePage(*session)));
    page->resize(640, 520);
    page->show();
    grid = page->findChild<SwatchGrid*>("swatchGrid");
    ASSERT_NE(grid, nullptr);
    auto& dialogs = page->Dialogs();
    dialogs.openPalFile = [this](QWidget*, const QString& folder) {
      shownFolder = folder;
      return chosenFile;
    };
    dialogs.savePalFile = [this](QWidget*, const QString& proposed) {
      proposedPath = proposed;
      return chosenFile;
    };
    dialogs.warn = [this](QWidget*, const QString& text) { warnings << text; };
    dialogs.beep = [this] { ++beeps; };
  }
  void TearDown() override {
    page.reset();
    session.reset();
    DisplayTest::TearDown();
  }

  QPoint CentreOf(int swatch) const { return SwatchGrid::CellRect(grid->rect(), swatch).center(); }
  void MoveHeld(const QPoint& point) {
    QMouseEvent move(QEvent::MouseMove, point, grid->mapToGlobal(point), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(grid, &move);
  }
  void Drag(int from, int to) {
    QTest::mousePress(grid, Qt::LeftButton, {}, CentreOf(from));
    MoveHeld(CentreOf(to));
    QTest::mouseRelease(grid, Qt::LeftButton, {}, CentreOf(to));
  }
  void Click(const char* name) {
    auto* button = page->findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    ASSERT_TRUE(button->isEnabled()) << name;
    button->click();
  }
  QSlider* Slider(const char* name) const { return page->findChild<QSlider*>(name); }
  const PaletteEntry& Entry(int i) const { return palette->customEntries[i]; }
  bool Unchanged() const {
    for (int i = 0; i < kPaletteEntries; ++i) {
      const PaletteEntry& a = palette->customEntries[i];
      const PaletteEntry& b = original[i];
      if (a.red != b.red || a.green != b.green || a.blue != b.blue || a.flags != b.flags) return false;
    }
    return true;
  }

  std::array<PaletteEntry, kPaletteEntries> original{};
  std::unique_ptr<config::ConfigSession> session;
  std::unique_ptr<CustomPalettePage> page;
  SwatchGrid* grid = nullptr;
  QString chosenFile, shownFolder, proposedPath;
  QStringList warnings;
  int beeps = 0;
};

TEST(SwatchGridTest, CellsShrinkTheClientAndEveryPointFindsItsSwatch) {
  const QRect client(0, 0, 325, 305);  // cells of 20 by 20
  EXPECT_EQ(SwatchGrid::CellRect(client, 0), QRect(2, 2, 20, 20));
  EXPECT_EQ(SwatchGrid::CellRect(client, 17), QRect(22, 22, 20, 20));
  EXPECT_EQ(SwatchGrid::CellRect(client, 235), QRect(222, 282, 20, 20));
  const QRect odd(0, 0, 171, 97);  // fractional cells
  for (int i = 0; i < kPaletteEntries; ++i) {
    const QRect cell = SwatchGrid::CellRect(odd, i);
    EXPECT_EQ(SwatchGrid::HitTest(odd, cell.topLeft()), i);
    EXPECT_EQ(SwatchGrid::HitTest(odd, cell.bottomRight()), i);
  }
  EXPECT_EQ(SwatchGrid::HitTest(client, QPoint(0, 0)), 235) << "the margin";
  EXPECT_EQ(SwatchGrid::HitTest(client, QPoint(300, 290)), 235) << "an empty cell of the last row";
}

TEST_F(CustomPalettePageTest, ADragSelectsTheRunBetweenAnchorAndCursor) {
  QTest::mousePress(grid, Qt::LeftButton, {}, CentreOf(40));
  MoveHeld(CentreOf(45));
  MoveHeld(CentreOf(33));
  MoveHeld(QPoint(-20, -20));  // outside: the selection stays
  QTest::mouseRelease(grid, Qt::LeftButton, {}, QPoint(-20, -20));
  EXPECT_EQ(FirstSelected(page->Editor().selected), 33);
  EXPECT_EQ(LastSelected(page->Editor().selected), 40);
  EXPECT_TRUE(page->findChild<QPushButton*>("buttonReverse")->isEnabled());
  EXPECT_EQ(Slider("sliderGreen")->value(), 128) << "a run shows the middle";

  QTest::mouseClick(grid, Qt::LeftButton, {}, CentreOf(7));
  EXPECT_EQ(FirstSelected(page->Editor().selected), 7);
  EXPECT_EQ(LastSelected(page->Editor().selected), 7);
  EXPECT_FALSE(page->findChild<QPushButton*>("buttonGradient")->isEnabled());
  EXPECT_EQ(Slider("sliderRed")->value(), Entry(7).red) << "one swatch shows its colour";
  EXPECT_EQ(Slider("sliderGreen")->value(), Entry(7).green);
  EXPECT_FALSE(session->ConfigDirty()) << "selecting changes no colour";
}

TEST_F(CustomPalettePageTest, CopyToThenANewSelectionCopiesAndApplyStoresIt) {
  ActivateOnly(kModuleBezier);
  palette->effect[0].store(kEffectCustom);
  Drag(0, 3);
  Click("buttonCopyTo");
  EXPECT_TRUE(Unchanged()) << "the copy waits for its destination";
  Drag(100, 107);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(Entry(100 + k).red, original[k / 2].red) << k;
  EXPECT_EQ(Entry(108).red, original[108].red);
  EXPECT_TRUE(session->ConfigDirty());

  page->Apply();
  reg::Key key = OpenKey(PaletteKey("Scratch"));
  uint8_t stored[kPaletteEntries * 3];
  uint32_t size = sizeof stored;
  ASSERT_EQ(reg::QueryValue(key, "Custom", nullptr, stored, &size), reg::kSuccess);
  EXPECT_EQ(stored[3 * 101], original[0].red);
  EXPECT_EQ(stored[3 * 107 + 1], original[3].green);

  Drag(20, 21);  // a later selection copies nothing
  EXPECT_EQ(Entry(20).red, original[20].red);
}

TEST_F(CustomPalettePageTest, TheKeysSelectAndSpaceReceivesAWaitingCopy) {
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_Down);  // from 0 to 16
  QTest::keyClick(grid, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(FirstSelected(page->Editor().selected), 16);
  EXPECT_EQ(LastSelected(page->Editor().selected), 17);
  Click("buttonMergeTo");
  QTest::keyClick(grid, Qt::Key_End);
  QTest::keyClick(grid, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(Entry(235).red, original[235].red) << "not before the selection is done";
  QTest::keyClick(grid, Qt::Key_Space);
  EXPECT_EQ(Entry(234).red, (original[234].red + original[16].red) / 2);
  EXPECT_EQ(Entry(235).blue, (original[235].blue + original[17].blue) / 2);
}

TEST_F(CustomPalettePageTest, AMaskedChannelDisablesItsSliderAndIsLeftAlone) {
  page->findChild<QCheckBox*>("maskRed")->click();
  EXPECT_FALSE(Slider("sliderRed")->isEnabled());
  EXPECT_TRUE(Slider("sliderGreen")->isEnabled());
  Drag(5, 9);
  Click("buttonNegative");
  for (int i = 5; i <= 9; ++i) {
    EXPECT_EQ(Entry(i).red, original[i].red);
    EXPECT_EQ(Entry(i).green, 255 - original[i].green);
    EXPECT_EQ(Entry(i).blue, 255 - original[i].blue);
  }
  Click("buttonUndo");
  EXPECT_TRUE(Unchanged());
}

TEST_F(CustomPalettePageTest, StencilledSwatchesKeepTheirColour) {
  Drag(50, 51);
  Click("buttonStencil");
  Drag(48, 55);
  Click("buttonNegative");
  EXPECT_EQ(Entry(50).green, original[50].green);
  EXPECT_EQ(Entry(51).blue, original[51].blue);
  EXPECT_EQ(Entry(52).green, 255 - original[52].green);
  Drag(50, 50);
  Click("buttonUnStencil");
  Drag(48, 55);
  Click("buttonNegative");
  EXPECT_EQ(Entry(50).green, 255 - original[50].green);
  EXPECT_EQ(Entry(51).green, original[51].green) << "still stencilled";
}

TEST_F(CustomPalettePageTest, SlidersSetOneSwatchAndScaleARunFromTheDragStart) {
  QTest::mouseClick(grid, Qt::LeftButton, {}, CentreOf(60));
  QTest::keyClick(Slider("sliderBlue"), Qt::Key_Right);
  EXPECT_EQ(Entry(60).blue, original[60].blue + 1);
  EXPECT_EQ(Entry(60).red, original[60].red);

  Drag(10, 12);
  QSlider* red = Slider("sliderRed");
  ASSERT_EQ(red->value(), 128);
  red->setSliderDown(true);
  red->setSliderPosition(64);
  red->setSliderPosition(192);
  red->setSliderDown(false);
  for (int i = 10; i <= 12; ++i) {
    EXPECT_EQ(Entry(i).red, std::min(255, original[i].red * 192 / 128)) << i;
    EXPECT_EQ(Entry(i).green, original[i].green) << i;
  }
  Click("buttonUndo");
  for (int i = 10; i <= 12; ++i) EXPECT_EQ(Entry(i).red, original[i].red) << "undo goes back to before the drag";
  EXPECT_EQ(Entry(60).blue, original[60].blue + 1) << "and no further";
}

TEST_F(CustomPalettePageTest, AForeignFileIsRefusedWithAReasonAndChangesNothing) {
  Bytes foreign = SerializePalFile(palette->customEntries);
  foreign[0] = 0x01;
  for (size_t i = 8; i < foreign.size(); ++i) foreign[i] = 0x77;
  chosenFile = QString::fromStdString(TestHome()) + "/foreign.PAL";
  {
    std::ofstream out(chosenFile.toStdString(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(foreign.data()), static_cast<std::streamsize>(foreign.size()));
  }
  Click("buttonImport");
  EXPECT_EQ(beeps, 1);
  ASSERT_EQ(warnings.size(), 1);
  EXPECT_TRUE(warnings[0].contains("not a palette file")) << warnings[0].toStdString();
  EXPECT_TRUE(Unchanged());
  EXPECT_FALSE(session->ConfigDirty());
}

TEST_F(CustomPalettePageTest, ExportThenImportRoundTripsInTheRememberedFolder) {
  const QString folder = QString::fromStdString(TestHome()) + "/palettes";
  QDir().mkpath(folder);
  config::RememberFolderOf(folder);
  chosenFile = folder + "/mine.PAL";
  Click("buttonExport");
  EXPECT_EQ(proposedPath, folder + "/Scratch.PAL");
  EXPECT_TRUE(warnings.isEmpty());
  const Bytes exported = ReadAll(chosenFile);
  EXPECT_EQ(exported, SerializePalFile(palette->customEntries));

  Drag(0, 235);
  Click("buttonNegative");
  config::RememberFolderOf(QString::fromStdString(TestHome()));
  Click("buttonImport");
  EXPECT_EQ(shownFolder, QString::fromStdString(TestHome()));
  EXPECT_TRUE(Unchanged());
  EXPECT_EQ(config::LastUsedFolder(), folder);

  chosenFile = folder + "/missing-folder/x.PAL";
  Click("buttonExport");
  EXPECT_EQ(warnings.size(), 1) << "a failed export says so";
}

TEST_F(CustomPalettePageTest, TestPaletteSettingsRunsTheSaverOnTheEditedDisplay) {
  session->SetChildProgram("/bin/sh", {"-c", "exec sleep 30", "saver"});
  Click("id1085");
  EXPECT_TRUE(session->TestPending());
  EXPECT_TRUE(DisplayExists(kTestingDisplay));
  session->EndTest();
}

}  // namespace
}  // namespace fluxo::test
