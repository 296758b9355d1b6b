#include "config/control_rows.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <cstring>

#include "config/slider.h"
#include "config/page_widgets.h"

namespace fluxo::config {

namespace {

// Grid columns. The value trackbar spans the four range columns and its edit
// shares the sense column: a row shows one set or the other.
enum Column : int { kLabel, kLow, kLowEdit, kHigh, kHighEdit, kSense, kSource };

constexpr int kLinesPerPage = 10;
constexpr int kSenseMinimum = 1;
constexpr int kSenseMaximum = 10;
constexpr int kSenseStart = 7;
// The slide show's "Strength" line: right under its six settings, with a gap.
constexpr int kSlideShowStrengthControl = 9;
constexpr int kSlideShowStrengthLine = 7;

QSlider* MakeTrackbar(QWidget* parent, int id) {
  auto* slider = new QSlider(Qt::Horizontal, parent);
  slider->setObjectName(Id(id));
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setMinimumWidth(40);
  return slider;
}

QLineEdit* MakeEdit(QWidget* parent, int id) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(Id(id));
  edit->setMaxLength(11);
  edit->setAlignment(Qt::AlignRight);
  edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("-00000")) + 14);
  return edit;
}

// The trackbar moved by the user: its edit shows the new position.
void Follow(QSlider* slider, QLineEdit* edit) {
  QObject::connect(slider, &QSlider::valueChanged, edit,
                   [edit](int position) { edit->setText(QString::number(position)); });
}

template <typename... W>
void SetVisible(bool visible, W*... widgets) {
  (widgets->setVisible(visible), ...);
}

}  // namespace

QGridLayout* MakeControlGrid(QWidget* parent) {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(6);
  grid->setVerticalSpacing(2);
  grid->setColumnStretch(kLow, 1);
  grid->setColumnStretch(kHigh, 1);
  // Lines keep their place even where a module defines no control.
  QComboBox probe;
  probe.setFont(parent->font());
  const int lineHeight = probe.sizeHint().height() + 2;
  for (int line = 0; line < kLinesPerPage; ++line) grid->setRowMinimumHeight(line, lineHeight);
  return grid;
}

void BuildControlRow(ControlRowSet& set, QWidget* parent, int i, int gridLine, const QString& label,
                     bool soundCapable) {
  ControlRow& row = set.rows[i];
  row.label = new QLabel(label, parent);
  row.label->setObjectName(Id(370 + i));
  row.label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  row.value = MakeTrackbar(parent, 100 + i);
  row.valueEdit = MakeEdit(parent, 130 + i);
  row.low = MakeTrackbar(parent, 250 + i);
  row.lowEdit = MakeEdit(parent, 310 + i);
  row.high = MakeTrackbar(parent, 280 + i);
  row.highEdit = MakeEdit(parent, 340 + i);
  Follow(row.value, row.valueEdit);
  Follow(row.low, row.lowEdit);
  Follow(row.high, row.highEdit);

  row.sense = new QSpinBox(parent);
  row.sense->setObjectName(Id(190 + i));
  row.sense->setRange(kSenseMinimum, kSenseMaximum);
  row.sense->setValue(kSenseStart);

  row.source = new QComboBox(parent);
  row.source->setObjectName(Id(220 + i));
  for (const std::string& name : FillSourceList(soundCapable)) row.source->addItem(QString::fromStdString(name));
  row.source->setMaxVisibleItems(kSourceLastBand + 1);

  QGridLayout* grid = set.grid;
  grid->addWidget(row.label, gridLine, kLabel);
  grid->addWidget(row.value, gridLine, kLow, 1, kSense - kLow);
  grid->addWidget(row.valueEdit, gridLine, kSense, Qt::AlignLeft);
  grid->addWidget(row.low, gridLine, kLow);
  grid->addWidget(row.lowEdit, gridLine, kLowEdit);
  grid->addWidget(row.high, gridLine, kHigh);
  grid->addWidget(row.highEdit, gridLine, kHighEdit);
  grid->addWidget(row.sense, gridLine, kSense);
  grid->addWidget(row.source, gridLine, kSource);
  HideRow(row);
}

bool BuildControlRows(ControlRowSet& set, QWidget* parent, const ControlBlock& controls, bool slideShowLayout) {
  bool built = false;
  for (int i = 0; i < kControlCount; ++i) {
    if (!controls.defined[i]) continue;
    const int line = slideShowLayout && i == kSlideShowStrengthControl ? kSlideShowStrengthLine : i % kLinesPerPage;
    // A plug-in writes its labels itself: they need not end inside the field.
    const QString label = QString::fromUtf8(controls.label[i], strnlen(controls.label[i], sizeof controls.label[i]));
    BuildControlRow(set, parent, i, line, label, controls.soundCapable[i] != 0);
    if (i < kLinesPerPage) ShowRow(set.rows[i], kSourceSet);
    built = true;
  }
  return built;
}

void DestroyControlRows(ControlRowSet& set) {
  for (ControlRow& row : set.rows) {
    if (!row.Exists()) continue;
    delete row.label;
    delete row.value;
    delete row.valueEdit;
    delete row.low;
    delete row.lowEdit;
    delete row.high;
    delete row.highEdit;
    delete row.sense;
    delete row.source;
    row = ControlRow{};
  }
}

void ShowRow(const ControlRow& row, int source) {
  const bool set = source == kSourceSet;
  SetVisible(true, row.label, row.source);
  SetVisible(set, row.value, row.valueEdit);
  SetVisible(!set, row.low, row.lowEdit, row.high, row.highEdit, row.sense);
}

void HideRow(const ControlRow& row) {
  SetVisible(false, row.label, row.value, row.valueEdit, row.low, row.lowEdit, row.high, row.highEdit, row.sense,
             row.source);
}

void ShowRowValues(const ControlRow& row, const RowValues& values) {
  SetSlider(row.low, row.lowEdit, values.minValue, values.maxValue, values.rangeLo);
  SetSlider(row.high, row.highEdit, values.minValue, values.maxValue, values.rangeHi);
  SetSlider(row.value, row.valueEdit, values.minValue, values.maxValue, values.value);
  {
    const QSignalBlocker block(row.sense);
    row.sense->setValue(values.sense);
  }
  const QSignalBlocker block(row.source);
  row.source->setCurrentIndex(values.source);
}

void LayoutControlRows(const ControlRowSet& set, const ControlBlock& c, uint32_t settingsPage) {
  for (int i = 0; i < kControlCount; ++i) {
    const ControlRow& row = set.rows[i];
    if (!c.defined[i] || !row.Exists()) continue;
    if (static_cast<uint32_t>(i / kLinesPerPage) != settingsPage)
      HideRow(row);
    else
      ShowRow(row, c.source[i]);
    ShowRowValues(row, {c.value[i], c.rangeLo[i], c.rangeHi[i], c.minValue[i], c.maxValue[i], c.sense[i], c.source[i]});
  }
}

int HighestDefinedControl(const ControlBlock& controls) {
  for (int i = kControlCount - 1; i >= 0; --i)
    if (controls.defined[i]) return i;
  return -1;
}

}  // namespace fluxo::config
