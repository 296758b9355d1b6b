#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>

#include "config/slider.h"

namespace fluxo::test {
namespace {

TEST(SliderTest, SetSliderSpacesTicksAndStaysQuiet) {
  QSlider slider;
  QLineEdit edit;
  QSignalSpy moved(&slider, &QSlider::valueChanged);
  config::SetSlider(&slider, &edit, -100, 100, -37);
  EXPECT_EQ(slider.tickInterval(), 200 / 24 + 1);
  EXPECT_EQ(slider.value(), -37);
  EXPECT_EQ(edit.text(), "-37");
  EXPECT_EQ(moved.count(), 0) << "a programmatic move is not a user's change";
}

TEST(SliderTest, TypedValuesAreClampedAndOnlyRealChangesCount) {
  QSlider slider;
  QLineEdit edit;
  config::SetSlider(&slider, &edit, 0, 100, 40);
  bool changed = false;
  edit.setText("500");
  EXPECT_EQ(config::ReadEditValue(&edit, &slider, 0, 100, 40, &changed), 100);
  EXPECT_TRUE(changed);
  EXPECT_EQ(edit.text(), "100");
  EXPECT_EQ(slider.value(), 100);

  changed = false;
  edit.setText(" 100 ");
  EXPECT_EQ(config::ReadEditValue(&edit, &slider, 0, 100, 100, &changed), 100);
  EXPECT_FALSE(changed);
  edit.setText("99999999999999");
  EXPECT_EQ(config::ReadEditValue(&edit, &slider, -5, 5, 0, &changed), 5) << "no wrap past 32 bits";
  edit.setText("99999999999999999999999");
  EXPECT_EQ(config::ReadEditValue(&edit, &slider, -5, 5, 0, &changed), 5) << "past any integer: still the top";
  edit.setText("-99999999999999999999999");
  EXPECT_EQ(config::ReadEditValue(&edit, &slider, -5, 5, 0, &changed), -5);
  edit.setText("junk");
  EXPECT_EQ(config::ReadEditValue(&edit, &slider, 3, 5, 4, &changed), 3);
}

}  // namespace
}  // namespace fluxo::test
