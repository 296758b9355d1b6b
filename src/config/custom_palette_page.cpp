#include "config/custom_palette_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "config/config_session.h"
#include "config/display_file_dialogs.h"
#include "config/last_folder.h"
#include "config/page_factories.h"
#include "config/page_widgets.h"
#include "config/swatch_grid.h"
#include "palette/pal_file.h"

namespace fluxo::config {

namespace {

constexpr int kHelpTopic = 516;
const char kTitle[] = "Custom Palette Settings";
const char kPalFilter[] = "*.PAL;;All files (*.*)";
const char kProposedFile[] = "Scratch.PAL";

CustomPaletteDialogs PlatformDialogs() {
  CustomPaletteDialogs dialogs;
  dialogs.openPalFile = [](QWidget* parent, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, "Import", folder, kPalFilter);
  };
  dialogs.savePalFile = [](QWidget* parent, const QString& proposed) {
    return QFileDialog::getSaveFileName(parent, "Export", proposed, kPalFilter);
  };
  // The same notice as the display files': the path shows as plain text.
  dialogs.warn = [](QWidget* parent, const QString& text) { StandardDisplayFileDialogs().warn(parent, kTitle, text); };
  dialogs.beep = [] { QApplication::beep(); };
  return dialogs;
}

}  // namespace

CustomPalettePage::CustomPalettePage(ConfigSession& session) : ConfigPage(session), dialogs_(PlatformDialogs()) {
  PaletteState* palette = CurrentPalette();
  entries_ = palette ? palette->customEntries : spareEntries_;
  ResetEditor(editor_, entries_);

  auto* layout = new QVBoxLayout(this);
  grid_ = new SwatchGrid(entries_, editor_.selected, editor_.stencilled);
  grid_->setObjectName("swatchGrid");
  layout->addWidget(grid_, 1);
  connect(grid_, &SwatchGrid::SwatchPressed, this, &CustomPalettePage::SwatchPressed);
  connect(grid_, &SwatchGrid::DraggedOver, this, &CustomPalettePage::DraggedOver);
  connect(grid_, &SwatchGrid::Released, this, &CustomPalettePage::SelectionReleased);
  connect(grid_, &SwatchGrid::KeyStep, this, &CustomPalettePage::KeyStep);
  connect(grid_, &SwatchGrid::KeyRelease, this, [this] { Refresh(true); });

  struct Action {
    const char* label;
    const char* name;
    std::function<void()> run;
  };
  const Action actions[] = {
      {"R&andom", "buttonRandom", ColourOperation(&RandomWalkEntries)},
      {"&Gradient", "buttonGradient", ColourOperation(&GradientEntries)},
      // The source run is remembered; the next selection receives it.
      {"&Copy To", "buttonCopyTo", [this] { BeginCopy(editor_, entries_, false); }},
      {"&Merge To", "buttonMergeTo", [this] { BeginCopy(editor_, entries_, true); }},
      {"&Negative", "buttonNegative", ColourOperation(&NegateEntries)},
      {"&Reverse", "buttonReverse", ColourOperation(&ReverseEntries)},
      {"&Smooth", "buttonSmooth", ColourOperation(&SmoothEntries)},
      {"S&hift", "buttonShift", ColourOperation(&ShiftChannels)},
      {"R&ough", "buttonRough", ColourOperation(&RoughenEntries)},
      {"&Import", "buttonImport", [this] { Import(); }},
      {"&Export", "buttonExport", [this] { Export(); }},
      {"&Undo", "buttonUndo", ColourOperation(&SwapUndo)},
      {"S&tencil", "buttonStencil", [this] { Stencil(true); }},
      {"U&n-Stencil", "buttonUnStencil", [this] { Stencil(false); }},
  };
  auto* buttons = new QGridLayout;
  layout->addLayout(buttons);
  constexpr int kButtonsPerRow = 7;
  for (int i = 0; i < static_cast<int>(std::size(actions)); ++i) {
    auto* button = new QPushButton(actions[i].label);
    button->setObjectName(actions[i].name);
    buttons->addWidget(button, i / kButtonsPerRow, i % kButtonsPerRow);
    connect(button, &QPushButton::clicked, this, actions[i].run);
  }
  gradient_ = findChild<QPushButton*>("buttonGradient");
  reverse_ = findChild<QPushButton*>("buttonReverse");

  auto* maskRow = new QHBoxLayout;
  layout->addLayout(maskRow);
  maskRow->addWidget(new QLabel("Mask:"));
  const char* const maskLabels[3] = {"Red", "Green", "Blue"};
  const char* const maskNames[3] = {"maskRed", "maskGreen", "maskBlue"};
  int32_t* const maskFlags[3] = {&editor_.maskRed, &editor_.maskGreen, &editor_.maskBlue};
  for (int ch = 0; ch < 3; ++ch) {
    masks_[ch] = new QCheckBox(maskLabels[ch]);
    masks_[ch]->setObjectName(maskNames[ch]);
    maskRow->addWidget(masks_[ch]);
    connect(masks_[ch], &QCheckBox::toggled, this, [this, flag = maskFlags[ch]](bool on) {
      *flag = on;
      Refresh(false);
    });
  }
  maskRow->addStretch(1);

  auto* sliders = new QGridLayout;
  layout->addLayout(sliders);
  sliders_[0] = AddSlider("R", "sliderRed", sliders, 0);
  sliders_[1] = AddSlider("G", "sliderGreen", sliders, 1);
  sliders_[2] = AddSlider("B", "sliderBlue", sliders, 2);

  auto* bottom = new QHBoxLayout;
  layout->addLayout(bottom);
  bottom->addStretch(1);
  auto* test = new QPushButton("Test Palette Settings");
  test->setObjectName(Id(1085));
  bottom->addWidget(test);
  connect(test, &QPushButton::clicked, this, [this] {
    ReadControls();
    Session().TestSettings();
  });
  auto* help = new QPushButton("Help");
  help->setObjectName(Id(1298));
  bottom->addWidget(help);
  connect(help, &QPushButton::clicked, this, [this] { Session().ShowHelp(kHelpTopic); });

  Refresh(false);
}

std::function<void()> CustomPalettePage::ColourOperation(Operation operation) {
  return [this, operation] {
    operation(editor_, entries_);
    Changed();
    Refresh(false);
  };
}

void CustomPalettePage::Stencil(bool stencil) {
  StencilSelected(editor_, stencil);
  grid_->update();
}

QSlider* CustomPalettePage::AddSlider(const char* label, const char* objectName, QGridLayout* layout, int row) {
  auto* slider = new QSlider(Qt::Horizontal);
  slider->setObjectName(objectName);
  slider->setRange(0, 255);
  slider->setValue(0);
  auto* name = new QLabel(label);
  name->setBuddy(slider);
  auto* value = new QLabel("0");
  value->setMinimumWidth(value->fontMetrics().horizontalAdvance("000"));
  sliderValues_[row] = value;
  layout->addWidget(name, row, 0);
  layout->addWidget(slider, row, 1);
  layout->addWidget(value, row, 2);
  // The action comes before the value changes: the positions then are
  // where a drag (or a key press) starts.
  connect(slider, &QSlider::actionTriggered, this, &CustomPalettePage::SliderAction);
  connect(slider, &QSlider::valueChanged, this, &CustomPalettePage::SliderValueChanged);
  connect(slider, &QSlider::sliderReleased, this, [this] { EndSliderDrag(editor_); });
  return slider;
}

void CustomPalettePage::SetActive() { Refresh(false); }

void CustomPalettePage::SwatchPressed(int index) {
  editor_.anchor = editor_.cursorEntry = index;
  editor_.dragging = 1;
  SelectRun(editor_, index, index);
  grid_->update();
}

void CustomPalettePage::DraggedOver(int index) {
  if (!editor_.dragging || index == editor_.cursorEntry) return;
  editor_.cursorEntry = index;
  SelectRun(editor_, editor_.anchor, index);
  grid_->update();
}

void CustomPalettePage::SelectionReleased() {
  if (editor_.dragging) Refresh(true);
}

void CustomPalettePage::KeyStep(int step, bool extend) {
  const int index = std::clamp(editor_.cursorEntry + step, 0, kPaletteEntries - 1);
  editor_.cursorEntry = index;
  if (!extend) editor_.anchor = index;
  SelectRun(editor_, editor_.anchor, index);
  Refresh(false);
}

void CustomPalettePage::Refresh(bool selectionMade) {
  editor_.dragging = 0;
  const int first = FirstSelected(editor_.selected);
  const int last = LastSelected(editor_.selected);
  gradient_->setEnabled(last > first);
  reverse_->setEnabled(last > first);
  for (int ch = 0; ch < 3; ++ch) sliders_[ch]->setEnabled(!masks_[ch]->isChecked());
  if (selectionMade && ApplyPendingCopy(editor_, entries_)) Changed();
  grid_->update();

  const bool single = first >= 0 && first == last;
  const int shown[3] = {single ? entries_[first].red : 128, single ? entries_[first].green : 128,
                        single ? entries_[first].blue : 128};
  for (int ch = 0; ch < 3; ++ch) {
    const QSignalBlocker quiet(sliders_[ch]);
    sliders_[ch]->setValue(shown[ch]);
    sliderValues_[ch]->setNum(shown[ch]);
  }
}

void CustomPalettePage::Changed() { Session().SetConfigDirty(true); }

void CustomPalettePage::SliderAction() {
  if (editor_.sliderRefRed < 0)
    BeginSliderDrag(editor_, entries_, sliders_[0]->value(), sliders_[1]->value(), sliders_[2]->value());
}

void CustomPalettePage::SliderValueChanged() {
  for (int ch = 0; ch < 3; ++ch) sliderValues_[ch]->setNum(sliders_[ch]->value());
  SliderMoved(editor_, entries_, sliders_[0]->value(), sliders_[1]->value(), sliders_[2]->value());
  Changed();
  grid_->update();
  // A key press or a click beside the handle is a whole drag of its own.
  auto* slider = qobject_cast<QSlider*>(sender());
  if (slider && !slider->isSliderDown()) EndSliderDrag(editor_);
}

void CustomPalettePage::Import() {
  const QString path = dialogs_.openPalFile(this, LastUsedFolder());
  if (path.isEmpty()) return;
  RememberFolderOf(path);
  TakeUndoCopy(editor_, entries_);
  const PalFileResult result = ReadPalFile(entries_, QFile::encodeName(path).toStdString());
  if (result != PalFileResult::Ok) {
    dialogs_.beep();
    dialogs_.warn(this, QString("%1\n\n%2").arg(QDir::toNativeSeparators(path), PalFileResultText(result)));
    return;
  }
  Changed();
  Refresh(false);
}

void CustomPalettePage::Export() {
  const QString path = dialogs_.savePalFile(this, QDir(LastUsedFolder()).filePath(kProposedFile));
  if (path.isEmpty()) return;
  RememberFolderOf(path);
  const PalFileResult result = WritePalFile(QFile::encodeName(path).toStdString(), entries_);
  if (result != PalFileResult::Ok)
    dialogs_.warn(this, QString("%1\n\n%2").arg(QDir::toNativeSeparators(path), PalFileResultText(result)));
}

ConfigPage* CreateCustomPalettePage(ConfigSession& session) { return new CustomPalettePage(session); }

}  // namespace fluxo::config
