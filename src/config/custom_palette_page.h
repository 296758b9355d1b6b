#pragma once
#include <QString>
#include <functional>

#include "config/config_page.h"
#include "palette/custom_palette_edit.h"

class QCheckBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QSlider;

namespace fluxo::config {

class SwatchGrid;

// The page's modal dialogs and sounds; tests replace them.
struct CustomPaletteDialogs {
  // The chosen file, or empty when cancelled.
  std::function<QString(QWidget* parent, const QString& folder)> openPalFile;
  // Asks before overwriting; empty when cancelled.
  std::function<QString(QWidget* parent, const QString& proposedPath)> savePalFile;
  std::function<void(QWidget* parent, const QString& text)> warn;
  std::function<void()> beep;
};

// "Custom": edits the custom colours of the palette engine in place. Every
// change shows at once in the grid and marks the display changed.
class CustomPalettePage : public ConfigPage {
  Q_OBJECT
 public:
  explicit CustomPalettePage(ConfigSession& session);

  void SetActive() override;

  CustomPaletteDialogs& Dialogs() { return dialogs_; }
  const CustomPaletteEditor& Editor() const { return editor_; }

 private:
  using Operation = void (*)(CustomPaletteEditor&, PaletteEntry*);

  // The button's action: the operation, then the display is changed and shown.
  std::function<void()> ColourOperation(Operation operation);
  void Stencil(bool stencil);
  QSlider* AddSlider(const char* label, const char* objectName, QGridLayout* layout, int row);

  void SwatchPressed(int index);
  void DraggedOver(int index);
  void SelectionReleased();
  void KeyStep(int step, bool extend);
  // After a selection or an operation: enabling, a waiting copy or merge
  // (only when the user has just made a selection), the grid and the
  // sliders' positions.
  void Refresh(bool selectionMade);
  void Changed();
  void SliderAction();
  void SliderValueChanged();
  void Import();
  void Export();

  CustomPaletteEditor editor_;
  PaletteEntry* entries_;
  PaletteEntry spareEntries_[kPaletteEntries] = {};  // only without a palette engine
  CustomPaletteDialogs dialogs_;
  SwatchGrid* grid_;
  QPushButton* gradient_ = nullptr;
  QPushButton* reverse_ = nullptr;
  QCheckBox* masks_[3] = {};
  QSlider* sliders_[3] = {};
  QLabel* sliderValues_[3] = {};
};

}  // namespace fluxo::config
