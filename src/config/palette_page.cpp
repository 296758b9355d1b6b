// The palette page: the ten parameters of one colour channel at a time, its
// effect, and the CTRL rule (a change made while CTRL is held goes to all
// three channels).
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <array>

#include "config/config_page.h"
#include "config/config_session.h"
#include "config/control_rows.h"
#include "config/page_factories.h"
#include "config/slider.h"
#include "config/page_widgets.h"
#include "palette/palette_engine.h"

namespace fluxo::config {

namespace {

constexpr int kHelpTopic = 514;

// The channel being edited, for the whole run of the program.
int& EditedChannel() {
  static int channel = 0;
  return channel;
}

struct ChannelButton {
  int id;
  const char* text;
  QColor ink;  // edits and lists are drawn in the channel's colour on white
};
constexpr int kChannelCount = 3;
const std::array<ChannelButton, kChannelCount> kChannelButtons = {{
    {1303, "&Red", QColor(128, 0, 0)},
    {1304, "&Green", QColor(0, 128, 0)},
    {1305, "&Blue", QColor(0, 0, 128)},
}};

struct EffectButton {
  int id;
  const char* text;
  PaletteEffect effect;
};
const std::array<EffectButton, 7> kEffectButtons = {{
    {1307, "Ramp", kEffectRamp},
    {1309, "Fade", kEffectFade},
    {1311, "Smooth", kEffectSmooth},
    {1310, "Coarse", kEffectCoarse},
    {1308, "Blackout", kEffectBlackout},
    {1070, "Random", kEffectRandom},
    {1071, "Custom", kEffectCustom},
}};

// The CTRL key, as it is at the moment of the change.
bool AllChannels() { return QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier); }

class PalettePage final : public ConfigPage {
 public:
  explicit PalettePage(ConfigSession& session);
  // The focused edit reports its last edit while the widget goes away: not
  // to this page any more.
  ~PalettePage() override {
    for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
  }

  void SetActive() override;
  void ReadControls() override;

 private:
  enum class Field { Value, RangeLo, RangeHi };

  // The channels a change goes to.
  template <typename Change>
  void ForChangedChannels(Change change) {
    if (AllChannels())
      for (int ch = 0; ch < kChannels; ++ch) change(ch);
    else
      change(EditedChannel());
  }

  void ConnectRow(int k);
  void ShowChannel();
  void Ink();
  void ReadTrackbars(int k);
  void ReadSource(int k);
  void ReadSense(int k, int sense);
  void ReadEdit(int k, Field field);
  void ChooseEffect(PaletteEffect effect);
  void Reset();
  void Dirty() { Session().SetConfigDirty(true); }

  ControlRowSet rows_;
  std::array<QPushButton*, kChannelCount> channels_{};
  QButtonGroup* effects_;
};

PalettePage::PalettePage(ConfigSession& session) : ConfigPage(session) {
  auto* page = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;

  auto* parameters = new QWidget(this);
  rows_.grid = MakeControlGrid(parameters);
  rows_.grid->setContentsMargins(0, 0, 0, 0);
  parameters->setLayout(rows_.grid);
  for (int k = 0; k < kPaletteParamCount; ++k) {
    BuildControlRow(rows_, parameters, k, k, QString::fromUtf8(PaletteParamTable(k).pageLabel),
                    PaletteParamTable(k).soundCapable != 0);
    ConnectRow(k);
  }
  top->addWidget(parameters, 1);

  auto* side = new QVBoxLayout;
  auto* channelGroup = new QButtonGroup(this);
  for (int ch = 0; ch < kChannelCount; ++ch) {
    auto* button = new QPushButton(QString::fromUtf8(kChannelButtons[ch].text), this);
    button->setObjectName(Id(kChannelButtons[ch].id));
    button->setCheckable(true);
    channelGroup->addButton(button, ch);
    side->addWidget(button);
    channels_[ch] = button;
  }
  connect(channelGroup, &QButtonGroup::idClicked, this, [this](int ch) {
    EditedChannel() = ch;
    ShowChannel();
  });

  auto* effectBox = new QGroupBox(QStringLiteral("Color Effect"), this);
  auto* effectLayout = new QVBoxLayout(effectBox);
  effects_ = new QButtonGroup(this);
  for (const EffectButton& effect : kEffectButtons) {
    auto* radio = new QRadioButton(QString::fromUtf8(effect.text), effectBox);
    radio->setObjectName(Id(effect.id));
    effects_->addButton(radio, effect.effect);
    effectLayout->addWidget(radio);
  }
  connect(effects_, &QButtonGroup::idClicked, this,
          [this](int effect) { ChooseEffect(static_cast<PaletteEffect>(effect)); });
  side->addSpacing(8);
  side->addWidget(effectBox);
  side->addStretch(1);
  top->addLayout(side);
  page->addLayout(top, 1);

  auto* note = new QLabel(QStringLiteral("Hold the CTRL key down to change red, green, and blue."), this);
  note->setWordWrap(true);
  page->addWidget(note);

  auto* buttons = new QHBoxLayout;
  auto* reset = new QPushButton(QStringLiteral("Reset"), this);
  reset->setObjectName(Id(1087));
  auto* test = new QPushButton(QStringLiteral("Test"), this);
  test->setObjectName(Id(1085));
  auto* help = new QPushButton(QStringLiteral("Help"), this);
  help->setObjectName(Id(1298));
  buttons->addWidget(reset);
  buttons->addStretch(1);
  buttons->addWidget(test);
  buttons->addWidget(help);
  page->addLayout(buttons);
  connect(reset, &QPushButton::clicked, this, &PalettePage::Reset);
  connect(test, &QPushButton::clicked, this, [this] {
    ReadControls();
    Session().TestSettings();
  });
  connect(help, &QPushButton::clicked, this, [this] { Session().ShowHelp(kHelpTopic); });
}

void PalettePage::ConnectRow(int k) {
  const ControlRow& row = rows_.rows[k];
  for (QSlider* slider : {row.value, row.low, row.high})
    connect(slider, &QSlider::valueChanged, this, [this, k] { ReadTrackbars(k); });
  connect(row.valueEdit, &QLineEdit::editingFinished, this, [this, k] { ReadEdit(k, Field::Value); });
  connect(row.lowEdit, &QLineEdit::editingFinished, this, [this, k] { ReadEdit(k, Field::RangeLo); });
  connect(row.highEdit, &QLineEdit::editingFinished, this, [this, k] { ReadEdit(k, Field::RangeHi); });
  connect(row.sense, &QSpinBox::valueChanged, this, [this, k](int sense) { ReadSense(k, sense); });
  connect(row.source, &QComboBox::currentIndexChanged, this, [this, k] { ReadSource(k); });
}

void PalettePage::SetActive() {
  channels_[EditedChannel()]->setChecked(true);
  ShowChannel();
}

void PalettePage::ShowChannel() {
  Ink();
  const PaletteState* state = CurrentPalette();
  if (!state) return;
  const int ch = EditedChannel();
  for (int k = 0; k < kPaletteParamCount; ++k) {
    const int slot = ParamSlot(k, ch);
    ShowRow(rows_.rows[k], state->source[slot]);
    ShowRowValues(rows_.rows[k], {state->value[slot], state->rangeLo[slot], state->rangeHi[slot], state->minValue[k],
                                  state->maxValue[k], state->sense[slot], state->source[slot]});
  }
  const int effect = state->effect[ch].load(std::memory_order_relaxed);
  // Exclusive groups cannot be left empty by unchecking; an unknown effect clears them all.
  effects_->setExclusive(false);
  for (QAbstractButton* radio : effects_->buttons()) radio->setChecked(effects_->id(radio) == effect);
  effects_->setExclusive(true);
}

void PalettePage::Ink() {
  QPalette colours = palette();
  const QColor ink = kChannelButtons[EditedChannel()].ink;
  for (QPalette::ColorRole role : {QPalette::Text, QPalette::ButtonText, QPalette::WindowText})
    colours.setColor(role, ink);
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Button, Qt::white);
  for (const ControlRow& row : rows_.rows)
    if (row.Exists())
      for (QWidget* widget :
           std::initializer_list<QWidget*>{row.valueEdit, row.lowEdit, row.highEdit, row.sense, row.source})
        widget->setPalette(colours);
}

void PalettePage::ReadTrackbars(int k) {
  PaletteState* state = CurrentPalette();
  if (!state) return;
  const ControlRow& row = rows_.rows[k];
  ForChangedChannels([&](int ch) {
    const int slot = ParamSlot(k, ch);
    state->value[slot] = row.value->value();
    state->rangeLo[slot] = row.low->value();
    state->rangeHi[slot] = row.high->value();
  });
  Dirty();
}

void PalettePage::ReadSource(int k) {
  PaletteState* state = CurrentPalette();
  const int source = rows_.rows[k].source->currentIndex();
  if (!state || source < 0) return;
  ForChangedChannels([&](int ch) { state->source[ParamSlot(k, ch)] = source; });
  ShowRow(rows_.rows[k], state->source[ParamSlot(k, EditedChannel())]);
  Dirty();
}

void PalettePage::ReadSense(int k, int sense) {
  PaletteState* state = CurrentPalette();
  if (!state) return;
  ForChangedChannels([&](int ch) { state->sense[ParamSlot(k, ch)] = sense; });
  Dirty();
}

// Typed values belong to the channel shown, CTRL or not.
void PalettePage::ReadEdit(int k, Field field) {
  PaletteState* state = CurrentPalette();
  if (!state) return;
  const ControlRow& row = rows_.rows[k];
  const int slot = ParamSlot(k, EditedChannel());
  const int32_t minimum = state->minValue[k];
  const int32_t maximum = state->maxValue[k];
  bool changed = false;
  switch (field) {
    case Field::Value:
      state->value[slot] = ReadEditValue(row.valueEdit, row.value, minimum, maximum, state->value[slot], &changed);
      break;
    case Field::RangeLo:
      state->rangeLo[slot] = ReadEditValue(row.lowEdit, row.low, minimum, maximum, state->rangeLo[slot], &changed);
      break;
    case Field::RangeHi:
      state->rangeHi[slot] = ReadEditValue(row.highEdit, row.high, minimum, maximum, state->rangeHi[slot], &changed);
      break;
  }
  if (changed) Dirty();
}

void PalettePage::ChooseEffect(PaletteEffect effect) {
  PaletteState* state = CurrentPalette();
  if (!state) return;
  ForChangedChannels([&](int ch) { state->effect[ch].store(effect, std::memory_order_relaxed); });
  Dirty();
}

void PalettePage::Reset() {
  Dirty();
  if (PaletteState* state = CurrentPalette()) ResetPaletteSettings(*state);
  ShowChannel();
}

// A value typed but not yet left counts as well; see the module page.
void PalettePage::ReadControls() {
  for (int k = 0; k < kPaletteParamCount; ++k) {
    const ControlRow& row = rows_.rows[k];
    if (row.valueEdit->hasFocus()) ReadEdit(k, Field::Value);
    if (row.lowEdit->hasFocus()) ReadEdit(k, Field::RangeLo);
    if (row.highEdit->hasFocus()) ReadEdit(k, Field::RangeHi);
  }
}

}  // namespace

ConfigPage* CreatePalettePage(ConfigSession& session) { return new PalettePage(session); }

}  // namespace fluxo::config
