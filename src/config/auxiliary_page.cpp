#include "config/auxiliary_page.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>

#include "config/config_session.h"
#include "config/page_factories.h"
#include "config/page_widgets.h"
#include "config/slider.h"
#include "settings/main_settings.h"

namespace fluxo::config {

namespace {
constexpr int kHelpTopic = 517;
constexpr int kBlankNever = 241;  // minutes; shown as "N/A"
constexpr int kGraceMax = 900;

// The radio buttons in the order a checked one is looked for, with the
// priority class each stands for.
struct PriorityChoice {
  const char* text;
  int id;
  uint32_t priorityClass;
};
constexpr PriorityChoice kPriorities[] = {{"High", 1065, 128}, {"Normal", 1067, 32}, {"Low", 1066, 64}};

// The number beside a trackbar: shown only, the trackbar sets it.
QLineEdit* MakeNumberField(int id) {
  QLineEdit* edit = MakeReadOnlyEdit(id);
  edit->setFocusPolicy(Qt::NoFocus);
  edit->setAlignment(Qt::AlignRight);
  edit->setMaximumWidth(edit->fontMetrics().horizontalAdvance("000000") + 12);
  return edit;
}

QGroupBox* SliderGroup(const char* title, QSlider* slider, QLineEdit* edit, const char* unit) {
  auto* group = new QGroupBox(title);
  auto* row = new QHBoxLayout(group);
  row->addWidget(slider, 1);
  row->addWidget(edit);
  row->addWidget(new QLabel(unit));
  return group;
}
}  // namespace

AuxiliaryPage::AuxiliaryPage(ConfigSession& session)
    : ConfigPage(session),
      blank_(MakeTrackbar(1324)),
      blankEdit_(MakeNumberField(1326)),
      grace_(MakeTrackbar(1327)),
      graceEdit_(MakeNumberField(1328)),
      priority_(new QButtonGroup(this)) {
  auto* cpuGroup = new QGroupBox("CPU Usage");
  auto* cpuRow = new QHBoxLayout(cpuGroup);
  for (const PriorityChoice& choice : kPriorities) {
    auto* radio = new QRadioButton(choice.text);
    radio->setObjectName(Id(choice.id));
    priority_->addButton(radio, static_cast<int>(choice.priorityClass));
    cpuRow->addWidget(radio);
  }
  cpuRow->addStretch(1);

  QPushButton* test = MakeButton("Preview", 1085);
  QPushButton* help = MakeHelpButton(*this, kHelpTopic);

  auto* page = new QVBoxLayout(this);
  page->addWidget(SliderGroup("Blank screen timeout", blank_, blankEdit_, "Minutes"));
  page->addWidget(SliderGroup("Timeout before password is required", grace_, graceEdit_, "Seconds"));
  page->addWidget(cpuGroup);
  page->addStretch(1);
  page->addLayout(FootButtons({test, help}));

  setTabOrder(blank_, grace_);
  QWidget* previous = grace_;
  for (QAbstractButton* radio : priority_->buttons()) {
    setTabOrder(previous, radio);
    previous = radio;
  }
  setTabOrder(previous, test);
  setTabOrder(test, help);

  connect(blank_, &QSlider::valueChanged, this, [this](int minutes) {
    Main().blankTimeout = static_cast<uint32_t>(minutes);
    ShowBlankTimeout(minutes);
  });
  connect(grace_, &QSlider::valueChanged, this, [this](int seconds) {
    Main().graceSeconds = static_cast<uint32_t>(seconds);
    graceEdit_->setText(QString::number(seconds));
  });
  connect(priority_, &QButtonGroup::idClicked, this,
          [](int priorityClass) { Main().priority = static_cast<uint32_t>(priorityClass); });
  connect(test, &QPushButton::clicked, this, [this] {
    ReadControls();
    Session().TestSettings();
  });

  ShowSettings();
}

void AuxiliaryPage::SetActive() { ShowSettings(); }

void AuxiliaryPage::ReadControls() {
  MainSettings& m = Main();
  m.blankTimeout = static_cast<uint32_t>(blank_->value());
  m.graceSeconds = static_cast<uint32_t>(grace_->value());
  // A stored class none of the buttons stands for stays as it is.
  for (QAbstractButton* radio : priority_->buttons())
    if (radio->isChecked()) {
      m.priority = static_cast<uint32_t>(priority_->id(radio));
      break;
    }
}

void AuxiliaryPage::ShowSettings() {
  const MainSettings& m = Main();
  // Stored values outside the sliders' ranges show (and save) as their nearest end.
  const int blank = static_cast<int>(std::min<uint32_t>(m.blankTimeout, kBlankNever));
  SetSlider(blank_, blankEdit_, 0, kBlankNever, blank);
  ShowBlankTimeout(blank);
  SetSlider(grace_, graceEdit_, 0, kGraceMax, static_cast<int32_t>(std::min<uint32_t>(m.graceSeconds, kGraceMax)));

  // None checked when the stored class is none of the three.
  priority_->setExclusive(false);
  for (QAbstractButton* radio : priority_->buttons())
    radio->setChecked(static_cast<uint32_t>(priority_->id(radio)) == m.priority);
  priority_->setExclusive(true);
}

void AuxiliaryPage::ShowBlankTimeout(int minutes) {
  blankEdit_->setText(minutes == kBlankNever ? QString("N/A") : QString::number(minutes));
}

ConfigPage* CreateAuxiliaryPage(ConfigSession& session) { return new AuxiliaryPage(session); }

}  // namespace fluxo::config
