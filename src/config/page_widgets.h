#pragma once
#include <initializer_list>

class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QSlider;
class QWidget;

namespace fluxo::config {

class ConfigPage;

// Widgets made alike on every page, each named by its id ("id1301").
QSlider* MakeTrackbar(const char* id);
QLineEdit* MakeReadOnlyEdit(const char* id);
QPushButton* MakeButton(const char* text, const char* id);
// "Help" (id 1298): opens the page's topic.
QPushButton* MakeHelpButton(ConfigPage& page, int topic);
// The buttons at the foot of a page, to the right.
QHBoxLayout* FootButtons(std::initializer_list<QWidget*> buttons);

}  // namespace fluxo::config
