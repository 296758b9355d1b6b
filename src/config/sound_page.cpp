#include "config/sound_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "config/config_session.h"
#include "config/page_factories.h"
#include "config/page_widgets.h"
#include "config/slider.h"
#include "settings/main_settings.h"
#include "sound/sound_feed.h"

namespace fluxo::config {

namespace {
constexpr int kHelpTopic = 512;
constexpr int kHomingMax = 1000;
constexpr int kStatusRefreshMs = 1500;

QCheckBox* MakeCheck(const char* text, const char* id) {
  auto* check = new QCheckBox(text);
  check->setObjectName(id);
  return check;
}
}  // namespace

SoundPage::SoundPage(ConfigSession& session)
    : ConfigPage(session),
      turbo_(MakeCheck("Turbo Mode", "id1042")),
      autoGain_(MakeCheck("Auto Adjust Gain", "id1044")),
      showInfo_(MakeCheck("Display CD Info", "id1039")),
      autoRun_(MakeCheck("Auto run Tonwel", "id1043")),
      homing_(MakeTrackbar(1336)),
      status_(new QLabel) {
  status_->setObjectName("id1110");
  status_->setWordWrap(true);
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  status_->setFrameShape(QFrame::StyledPanel);
  QPushButton* launch = MakeButton("Launch Tonewell", 1109);
  QPushButton* test = MakeButton("Test All Settings", 1085);
  QPushButton* help = MakeHelpButton(*this, kHelpTopic);

  auto* checks = new QGridLayout;
  checks->addWidget(turbo_, 0, 0);
  checks->addWidget(autoGain_, 0, 1);
  checks->addWidget(showInfo_, 1, 0);
  checks->addWidget(autoRun_, 1, 1);

  auto* homingRow = new QHBoxLayout;
  homingRow->addWidget(new QLabel("Strong"));
  homingRow->addWidget(homing_, 1);
  homingRow->addWidget(new QLabel("Weak"));

  auto* companionRow = new QHBoxLayout;
  companionRow->addWidget(status_, 1);
  companionRow->addWidget(launch, 0, Qt::AlignTop);

  auto* page = new QVBoxLayout(this);
  page->addLayout(checks);
  page->addWidget(new QLabel("Amplitude homing:"));
  page->addLayout(homingRow);
  page->addLayout(companionRow);
  page->addStretch(1);
  page->addLayout(FootButtons({test, help}));

  setTabOrder(turbo_, autoGain_);
  setTabOrder(autoGain_, showInfo_);
  setTabOrder(showInfo_, autoRun_);
  setTabOrder(autoRun_, homing_);
  setTabOrder(homing_, launch);
  setTabOrder(launch, test);
  setTabOrder(test, help);

  connect(launch, &QPushButton::clicked, this, [this] {
    LaunchCompanion(0, 0, false);
    ShowSoundStatus();
  });
  connect(test, &QPushButton::clicked, this, [this] {
    ReadControls();
    Session().TestSettings();
  });
  connect(&session, &ConfigSession::TestEnded, this, &SoundPage::ShowSoundStatus);
  statusTimer_.setInterval(kStatusRefreshMs);
  connect(&statusTimer_, &QTimer::timeout, this, &SoundPage::ShowSoundStatus);

  ShowSettings();
  ShowSoundStatus();
}

void SoundPage::SetActive() {
  ShowSettings();
  ShowSoundStatus();
}

void SoundPage::ReadControls() {
  // Turbo mode and automatic gain live in the feed, where the companion sees them.
  if (SoundFeedBlock* feed = SoundFeed()) {
    feed->SetU32(feed::kTurboMode, turbo_->isChecked() ? 1 : 0);
    feed->SetU32(feed::kAutoGain, autoGain_->isChecked() ? 1 : 0);
  }
  MainSettings& m = Main();
  m.showInfo = showInfo_->isChecked() ? 1 : 0;
  m.autoRun = autoRun_->isChecked() ? 1 : 0;
  m.homingRate = static_cast<uint32_t>(homing_->value());
}

void SoundPage::showEvent(QShowEvent* event) {
  ConfigPage::showEvent(event);
  statusTimer_.start();
}

void SoundPage::hideEvent(QHideEvent* event) {
  statusTimer_.stop();
  ConfigPage::hideEvent(event);
}

void SoundPage::ShowSettings() {
  SoundFeedBlock* feed = SoundFeed();
  // Without a feed there is nowhere to keep these two.
  turbo_->setEnabled(feed != nullptr);
  autoGain_->setEnabled(feed != nullptr);
  turbo_->setChecked(feed && feed->U32(feed::kTurboMode) != 0);
  autoGain_->setChecked(feed && feed->U32(feed::kAutoGain) != 0);
  const MainSettings& m = Main();
  showInfo_->setChecked(m.showInfo != 0);
  autoRun_->setChecked(m.autoRun != 0);
  SetSlider(homing_, nullptr, 0, kHomingMax, static_cast<int32_t>(m.homingRate));
}

void SoundPage::ShowSoundStatus() { status_->setText(QString::fromStdString(SoundStatusText())); }

ConfigPage* CreateSoundPage(ConfigSession& session) { return new SoundPage(session); }

}  // namespace fluxo::config
