#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <memory>

#include "config/config_page.h"
#include "config/config_session.h"
#include "config/page_factories.h"
#include "settings/display_fixture.h"
#include "config/widget_lookup.h"

namespace fluxo::test {
namespace {

using config::ConfigPage;
using config::ConfigSession;

constexpr int kRed = 0, kGreen = 1, kBlue = 2;

class PalettePageTest : public DisplayTest {
 protected:
  void SetUp() override {
    DisplayTest::SetUp();
    session = std::make_unique<ConfigSession>();
    page.reset(config::CreatePalettePage(*session));
    page->resize(720, 520);
    page->SetActive();
    // The edited channel outlives pages: every test starts on red.
    QTest::mouseClick(Find<QPushButton>(1303), Qt::LeftButton);
  }
  void TearDown() override {
    page.reset();
    session.reset();
    DisplayTest::TearDown();
  }

  template <typename W>
  W* Find(int id) const {
    return FindWidget<W>(page.get(), id);
  }
  int32_t Value(int param, int channel) const { return palette->value[ParamSlot(param, channel)]; }
  int32_t Effect(int channel) const { return palette->effect[channel].load(); }
  void Channel(int channel) { QTest::mouseClick(Find<QPushButton>(1303 + channel), Qt::LeftButton); }
  // Brightness is parameter 0: its trackbar is id100.
  // The CTRL key goes down (or up) on its own, as before a mouse choice in a list.
  void HoldCtrl(bool down) {
    if (down)
      QTest::keyPress(page.get(), Qt::Key_Control, Qt::ControlModifier);
    else
      QTest::keyRelease(page.get(), Qt::Key_Control, Qt::NoModifier);
  }
  void NudgeBrightness(Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(Find<QSlider>(100), Qt::Key_Left, modifiers);
  }

  std::unique_ptr<ConfigSession> session;
  std::unique_ptr<ConfigPage> page;
};

TEST_F(PalettePageTest, MovingATrackbarWithCtrlChangesEveryChannel) {
  const int32_t before = Value(kParamScale, kRed);
  NudgeBrightness(Qt::ControlModifier);
  const int32_t after = Find<QSlider>(100)->value();
  ASSERT_NE(after, before);
  for (int ch : {kRed, kGreen, kBlue}) EXPECT_EQ(Value(kParamScale, ch), after) << ch;
  EXPECT_EQ(Find<QLineEdit>(130)->text(), QString::number(after));
  EXPECT_TRUE(session->ConfigDirty());
}

TEST_F(PalettePageTest, WithoutCtrlOnlyTheChannelShownChanges) {
  Channel(kGreen);
  const int32_t before = Value(kParamScale, kGreen);
  NudgeBrightness(Qt::NoModifier);
  EXPECT_NE(Value(kParamScale, kGreen), before);
  EXPECT_EQ(Value(kParamScale, kRed), before);
  EXPECT_EQ(Value(kParamScale, kBlue), before);
}

TEST_F(PalettePageTest, EffectButtonsFollowTheCtrlRule) {
  QTest::mouseClick(Find<QRadioButton>(1311), Qt::LeftButton, Qt::ControlModifier);  // "Smooth"
  for (int ch : {kRed, kGreen, kBlue}) EXPECT_EQ(Effect(ch), kEffectSmooth) << ch;

  Channel(kBlue);
  QTest::mouseClick(Find<QRadioButton>(1070), Qt::LeftButton);  // "Random"
  EXPECT_EQ(Effect(kBlue), kEffectRandom);
  EXPECT_EQ(Effect(kRed), kEffectSmooth);
  EXPECT_EQ(Effect(kGreen), kEffectSmooth);
  EXPECT_TRUE(session->ConfigDirty());
}

TEST_F(PalettePageTest, SourceAndSenseFollowTheCtrlRule) {
  // Direction (row 7) is sound-capable.
  HoldCtrl(true);
  Find<QComboBox>(227)->setCurrentIndex(kSourceRandom);
  HoldCtrl(false);
  for (int ch : {kRed, kGreen, kBlue}) EXPECT_EQ(palette->source[ParamSlot(kParamDirection, ch)], kSourceRandom) << ch;
  QTest::keyClick(Find<QComboBox>(227), Qt::Key_Down);
  EXPECT_EQ(palette->source[ParamSlot(kParamDirection, kRed)], kSourceOscillate);
  EXPECT_EQ(palette->source[ParamSlot(kParamDirection, kGreen)], kSourceRandom);
  EXPECT_TRUE(Find<QSpinBox>(197)->isVisibleTo(page.get()));
  EXPECT_FALSE(Find<QSlider>(107)->isVisibleTo(page.get()));

  QTest::keyClick(Find<QSpinBox>(197), Qt::Key_Down, Qt::ControlModifier);
  const int32_t sense = palette->sense[ParamSlot(kParamDirection, kRed)];
  EXPECT_EQ(sense, Find<QSpinBox>(197)->value());
  for (int ch : {kGreen, kBlue}) EXPECT_EQ(palette->sense[ParamSlot(kParamDirection, ch)], sense) << ch;
}

TEST_F(PalettePageTest, TypedValuesGoToTheChannelShownEvenWithCtrl) {
  QLineEdit* edit = Find<QLineEdit>(130);
  edit->setText("42");
  QTest::keyClick(edit, Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(Value(kParamScale, kRed), 42);
  EXPECT_EQ(Value(kParamScale, kGreen), 100);
  EXPECT_EQ(Find<QSlider>(100)->value(), 42);
}

TEST_F(PalettePageTest, TheChannelButtonsShowEachChannel) {
  for (int ch : {kRed, kGreen, kBlue}) {
    palette->value[ParamSlot(kParamScale, ch)] = 10 * (ch + 1);
    palette->effect[ch] = ch == kGreen ? kEffectFade : kEffectCoarse;
  }
  palette->source[ParamSlot(kParamScale, kBlue)] = kSourceVolume;

  Channel(kGreen);
  EXPECT_EQ(Find<QSlider>(100)->value(), 20);
  EXPECT_EQ(Find<QLineEdit>(130)->text(), "20");
  EXPECT_TRUE(Find<QRadioButton>(1309)->isChecked());   // "Fade"
  EXPECT_FALSE(Find<QRadioButton>(1310)->isChecked());  // "Coarse"
  EXPECT_EQ(Find<QLineEdit>(130)->palette().color(QPalette::Text), QColor(0, 128, 0));
  EXPECT_TRUE(Find<QSlider>(100)->isVisibleTo(page.get()));

  Channel(kBlue);
  EXPECT_EQ(Find<QSlider>(100)->value(), 30);
  EXPECT_TRUE(Find<QRadioButton>(1310)->isChecked());
  EXPECT_EQ(Find<QComboBox>(220)->currentIndex(), kSourceVolume);
  EXPECT_FALSE(Find<QSlider>(100)->isVisibleTo(page.get()));
  EXPECT_TRUE(Find<QSlider>(250)->isVisibleTo(page.get()));
  EXPECT_EQ(Find<QComboBox>(220)->palette().color(QPalette::Text), QColor(0, 0, 128));
  EXPECT_FALSE(session->ConfigDirty());

  // The channel is the program's, not the page's.
  page.reset(config::CreatePalettePage(*session));
  page->SetActive();
  EXPECT_TRUE(Find<QPushButton>(1305)->isChecked());
  EXPECT_EQ(Find<QSlider>(250)->value(), palette->rangeLo[ParamSlot(kParamScale, kBlue)]);
}

TEST_F(PalettePageTest, ResetBringsBackTheDefaults) {
  NudgeBrightness(Qt::ControlModifier);
  Find<QComboBox>(221)->setCurrentIndex(kSourceOscillate);
  session->SetConfigDirty(false);
  QTest::mouseClick(Find<QPushButton>(1087), Qt::LeftButton);
  const PaletteParamInfo& brightness = PaletteParamTable(kParamScale);
  for (int ch : {kRed, kGreen, kBlue}) EXPECT_EQ(Value(kParamScale, ch), brightness.value) << ch;
  EXPECT_EQ(palette->source[ParamSlot(kParamDensity, kRed)], PaletteParamTable(kParamDensity).source);
  EXPECT_EQ(Find<QSlider>(100)->value(), brightness.value);
  EXPECT_EQ(Find<QComboBox>(221)->currentIndex(), PaletteParamTable(kParamDensity).source);
  EXPECT_TRUE(session->ConfigDirty());
}

TEST_F(PalettePageTest, ApplyStoresTheEditedPalette) {
  NudgeBrightness(Qt::ControlModifier);
  const int32_t brightness = Value(kParamScale, kRed);
  page->Apply();
  ASSERT_EQ(ActiveDisplayName(), "Scratch");
  for (const char* name : {"RedScale", "GreenScale", "BlueScale"})
    EXPECT_EQ(Number(PaletteKey("Scratch"), name), brightness);
}

}  // namespace
}  // namespace fluxo::test
