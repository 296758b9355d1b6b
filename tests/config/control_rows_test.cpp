#include "config/control_rows.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QWidget>
#include <cstring>

namespace fluxo::test {
namespace {

using config::ControlRow;
using config::ControlRowSet;

class ControlRowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rows.grid = config::MakeControlGrid(&page);
    page.setLayout(rows.grid);
  }

  void Define(int i, const char* label, int32_t value, int32_t minimum, int32_t maximum, bool sound = false) {
    std::snprintf(block.label[i], sizeof block.label[i], "%s", label);
    block.defined[i] = 1;
    block.value[i] = block.defaultValue[i] = value;
    block.minValue[i] = block.rangeLo[i] = minimum;
    block.maxValue[i] = block.rangeHi[i] = maximum;
    block.sense[i] = 10;
    block.soundCapable[i] = sound;
  }
  int LineOf(QWidget* widget) const {
    int line = -1, column = 0, rowSpan = 0, columnSpan = 0;
    rows.grid->getItemPosition(rows.grid->indexOf(widget), &line, &column, &rowSpan, &columnSpan);
    return line;
  }

  QWidget page;
  ControlRowSet rows;
  ControlBlock block{};
};

TEST_F(ControlRowsTest, RowsOfLaterPagesShareTheLinesAndStartHidden) {
  Define(0, "First", 1, 0, 10);
  Define(12, "Thirteenth", 2, 0, 10);
  Define(29, "Last", 3, 0, 10);
  ASSERT_TRUE(config::BuildControlRows(rows, &page, block, false));
  EXPECT_EQ(config::HighestDefinedControl(block), 29);
  EXPECT_FALSE(rows.rows[1].Exists());
  EXPECT_EQ(LineOf(rows.rows[12].label), 2);
  EXPECT_EQ(LineOf(rows.rows[29].source), 9);
  EXPECT_FALSE(rows.rows[0].label->isHidden());
  EXPECT_TRUE(rows.rows[12].label->isHidden());

  config::LayoutControlRows(rows, block, 1);
  EXPECT_TRUE(rows.rows[0].label->isHidden() && rows.rows[0].value->isHidden());
  EXPECT_FALSE(rows.rows[12].label->isHidden() || rows.rows[12].value->isHidden());
  EXPECT_EQ(rows.rows[12].valueEdit->text(), "2");

  config::DestroyControlRows(rows);
  EXPECT_FALSE(rows.rows[0].Exists());
  EXPECT_EQ(page.findChild<QLabel*>("id370"), nullptr);
  EXPECT_FALSE(config::BuildControlRows(rows, &page, ControlBlock{}, false));
}

TEST_F(ControlRowsTest, TheSlideShowsStrengthSitsUnderItsSettings) {
  for (int i = 0; i < 6; ++i) Define(i, "Setting", 0, 0, 1);
  Define(9, "Strength", 1, -10, 10);
  config::BuildControlRows(rows, &page, block, true);
  EXPECT_EQ(LineOf(rows.rows[5].label), 5);
  EXPECT_EQ(LineOf(rows.rows[9].label), 7);
}

TEST_F(ControlRowsTest, AFullLengthLabelStaysInsideItsField) {
  std::memset(block.label[0], 'L', sizeof block.label[0]);  // no terminating zero
  block.defined[0] = 1;
  block.maxValue[0] = 1;
  std::snprintf(block.label[1], sizeof block.label[1], "Next");
  config::BuildControlRows(rows, &page, block, false);
  EXPECT_EQ(rows.rows[0].label->text(), QString(static_cast<int>(sizeof block.label[0]), QLatin1Char('L')));
}

TEST_F(ControlRowsTest, ShowingValuesIsNoChangeOfTheUsers) {
  Define(0, "Width", 12, 1, 200, true);
  config::BuildControlRows(rows, &page, block, false);
  const ControlRow& row = rows.rows[0];
  QSignalSpy moved(row.value, &QSlider::valueChanged);
  QSignalSpy lowMoved(row.low, &QSlider::valueChanged);
  QSignalSpy sense(row.sense, &QSpinBox::valueChanged);
  QSignalSpy source(row.source, &QComboBox::currentIndexChanged);

  config::ShowRowValues(row, {150, 20, 180, 1, 200, 4, kSourceLeft});
  EXPECT_EQ(row.value->value(), 150);
  EXPECT_EQ(row.low->value(), 20);
  EXPECT_EQ(row.highEdit->text(), "180");
  EXPECT_EQ(row.value->minimum(), 1);
  EXPECT_EQ(row.high->maximum(), 200);
  EXPECT_EQ(row.sense->value(), 4);
  EXPECT_EQ(row.source->currentText(), "Left");
  EXPECT_TRUE(moved.isEmpty() && lowMoved.isEmpty() && sense.isEmpty() && source.isEmpty());

  // A user's move is followed by the edit.
  row.low->setValue(33);
  EXPECT_EQ(row.lowEdit->text(), "33");
}

TEST_F(ControlRowsTest, ASourceShowsEitherTheValueOrTheRange) {
  Define(0, "Width", 12, 1, 200, true);
  config::BuildControlRows(rows, &page, block, false);
  const ControlRow& row = rows.rows[0];
  config::ShowRow(row, kSourceRandom);
  EXPECT_TRUE(row.value->isHidden() && row.valueEdit->isHidden());
  EXPECT_FALSE(row.low->isHidden() || row.lowEdit->isHidden() || row.high->isHidden() || row.highEdit->isHidden() ||
               row.sense->isHidden() || row.source->isHidden() || row.label->isHidden());
  config::ShowRow(row, kSourceSet);
  EXPECT_FALSE(row.value->isHidden() || row.valueEdit->isHidden());
  EXPECT_TRUE(row.low->isHidden() && row.high->isHidden() && row.sense->isHidden());
}

}  // namespace
}  // namespace fluxo::test
