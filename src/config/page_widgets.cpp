#include "config/page_widgets.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "config/config_page.h"
#include "config/config_session.h"

namespace fluxo::config {

QSlider* MakeTrackbar(const char* id) {
  auto* slider = new QSlider(Qt::Horizontal);
  slider->setObjectName(id);
  slider->setTickPosition(QSlider::TicksBelow);
  return slider;
}

QLineEdit* MakeReadOnlyEdit(const char* id) {
  auto* edit = new QLineEdit;
  edit->setObjectName(id);
  edit->setReadOnly(true);
  return edit;
}

QPushButton* MakeButton(const char* text, const char* id) {
  auto* button = new QPushButton(text);
  button->setObjectName(id);
  return button;
}

QPushButton* MakeHelpButton(ConfigPage& page, int topic) {
  QPushButton* help = MakeButton("Help", "id1298");
  QObject::connect(help, &QPushButton::clicked, &page, [&page, topic] { page.Session().ShowHelp(topic); });
  return help;
}

QHBoxLayout* FootButtons(std::initializer_list<QWidget*> buttons) {
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  for (QWidget* button : buttons) row->addWidget(button);
  return row;
}

}  // namespace fluxo::config
