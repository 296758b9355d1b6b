#pragma once
#include <initializer_list>

class QHBoxLayout;
class QString;
class QLineEdit;
class QPushButton;
class QSlider;
class QWidget;

namespace fluxo::config {

class ConfigPage;

// The object name of the widget with a dialog id: "id1301". Tests find
// widgets by it.
QString Id(int id);

// Widgets made alike on every page, each named by its id.
QSlider* MakeTrackbar(int id);
QLineEdit* MakeReadOnlyEdit(int id);
QPushButton* MakeButton(const char* text, int id);
// "Help" (id 1298): opens the page's topic.
QPushButton* MakeHelpButton(ConfigPage& page, int topic);
// The buttons at the foot of a page, to the right.
QHBoxLayout* FootButtons(std::initializer_list<QWidget*> buttons);

}  // namespace fluxo::config
