#pragma once
#include <QString>
#include <array>
#include <cstdint>

#include "controls/controls.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QSlider;
class QSpinBox;
class QWidget;

namespace fluxo::config {

// The child widgets of one control (or palette parameter) i, named by their
// fixed ids: label id370+i, value trackbar id100+i with edit id130+i, range
// trackbars id250+i / id280+i with edits id310+i / id340+i, the sense
// spin box id190+i (edit and up-down in one, so id160+i has no widget of its
// own) and the source list id220+i.
struct ControlRow {
  QLabel* label = nullptr;
  QSlider* value = nullptr;
  QLineEdit* valueEdit = nullptr;
  QSlider* low = nullptr;
  QLineEdit* lowEdit = nullptr;
  QSlider* high = nullptr;
  QLineEdit* highEdit = nullptr;
  QSpinBox* sense = nullptr;
  QComboBox* source = nullptr;

  bool Exists() const { return label != nullptr; }
};

// What a row shows.
struct RowValues {
  int32_t value, rangeLo, rangeHi, minValue, maxValue, sense, source;
};

// The rows of a page in one grid: row i sits in grid line `i mod 10` (the
// pages of ten controls share the lines; only one page is shown at a time).
struct ControlRowSet {
  QGridLayout* grid = nullptr;
  std::array<ControlRow, kControlCount> rows{};
};

// Lays the grid's columns out and keeps ten lines of equal height, so rows
// stay where they are whichever controls a module defines.
QGridLayout* MakeControlGrid(QWidget* parent);

// Creates row i in `gridLine` (hidden), its source list filled, and keeps the
// value edit following its trackbar.
void BuildControlRow(ControlRowSet& set, QWidget* parent, int i, int gridLine, const QString& label, bool soundCapable);

// A row for every defined control of a module; rows of controls 0..9 shown.
// The slide show's "Strength" (control 9) sits two lines higher, under its
// six settings. True when any row was made.
bool BuildControlRows(ControlRowSet& set, QWidget* parent, const ControlBlock& controls, bool slideShowLayout);
void DestroyControlRows(ControlRowSet& set);

// Label and source list always; the value pair for "Set", otherwise the
// range pairs and the sense.
void ShowRow(const ControlRow& row, int source);
void HideRow(const ControlRow& row);
// Trackbars, edits, sense and source, without change notifications.
void ShowRowValues(const ControlRow& row, const RowValues& values);

// Shows the rows of the module's settings page and fills every row from the
// control block.
void LayoutControlRows(const ControlRowSet& set, const ControlBlock& controls, uint32_t settingsPage);

// The highest defined control index, -1 when none is.
int HighestDefinedControl(const ControlBlock& controls);

}  // namespace fluxo::config
