#include "config/page_widgets.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "config/config_page.h"
#include "config/config_session.h"

namespace fluxo::config {

QString Id(int id) { return QStringLiteral("id%1").arg(id); }

QSlider* MakeTrackbar(int id) {
  auto* slider = new QSlider(Qt::Horizontal);
  slider->setObjectName(Id(id));
  slider->setTickPosition(QSlider::TicksBelow);
  return slider;
}

QLineEdit* MakeReadOnlyEdit(int id) {
  auto* edit = new QLineEdit;
  edit->setObjectName(Id(id));
  edit->setReadOnly(true);
  return edit;
}

QPushButton* MakeButton(const char* text, int id) {
  auto* button = new QPushButton(QString::fromUtf8(text));
  button->setObjectName(Id(id));
  return button;
}

QPushButton* MakeHelpButton(ConfigPage& page, int topic) {
  QPushButton* help = MakeButton("Help", 1298);
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
