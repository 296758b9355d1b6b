#include "config/video_page.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>

#include "config/config_session.h"
#include "config/mode_description.h"
#include "config/page_factories.h"
#include "config/page_widgets.h"
#include "config/screen_mode.h"
#include "config/stored_display_mode.h"

namespace fluxo::config {

namespace {
constexpr int kHelpTopic = 515;
// The record's own size (u16 at 36) and the size of driver data behind it (u16 at 38).
constexpr size_t kRecordSizeOffset = 36;
constexpr size_t kDriverExtraOffset = 38;

constexpr char kNoModeSwitching[] =
    "Changing the screen resolution on the fly is not supported on this system.  It needs the X server's RandR "
    "(Resize and Rotate) extension and its client library, libXrandr, which most distributions install with the X "
    "server (on Debian and Ubuntu: the package libxrandr2).";

QString Describe(const DisplayModeRecord& record) {
  return QString::fromStdString(DescribeVideoMode(DecodeDisplayMode(record)));
}
}  // namespace

VideoPage::VideoPage(ConfigSession& session)
    : ConfigPage(session),
      current_(MakeReadOnlyEdit(1039)),
      stored_(MakeReadOnlyEdit(1040)),
      modes_(new QListWidget),
      set_(MakeButton("Set", 1106)),
      clear_(MakeButton("&Clear", 1107)),
      test_(MakeButton("&Test Video Mode", 2)),
      notice_(new QLabel) {
  modes_->setObjectName("id1043");
  notice_->setObjectName("id1321");
  notice_->setWordWrap(true);
  QPushButton* help = MakeHelpButton(*this, kHelpTopic);

  auto* currentLabel = new QLabel("Current video mode:");
  currentLabel->setBuddy(current_);
  auto* storedLabel = new QLabel("Run screen saver in:");
  storedLabel->setBuddy(stored_);
  auto* modesLabel = new QLabel("Available video modes:");
  modesLabel->setBuddy(modes_);

  auto* modeButtons = new QVBoxLayout;
  modeButtons->addWidget(set_);
  modeButtons->addWidget(clear_);
  modeButtons->addWidget(test_);
  modeButtons->addStretch(1);

  auto* grid = new QGridLayout;
  grid->addWidget(currentLabel, 0, 0);
  grid->addWidget(current_, 0, 1);
  grid->addWidget(storedLabel, 1, 0);
  grid->addWidget(stored_, 1, 1);
  grid->addWidget(modesLabel, 2, 0, 1, 2);
  grid->addWidget(modes_, 3, 0, 1, 2);
  grid->addLayout(modeButtons, 3, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(3, 1);

  auto* page = new QVBoxLayout(this);
  page->addLayout(grid, 1);
  page->addWidget(notice_);
  page->addLayout(FootButtons({help}));

  setTabOrder(modes_, set_);
  setTabOrder(set_, clear_);
  setTabOrder(clear_, test_);
  setTabOrder(test_, help);

  connect(set_, &QPushButton::clicked, this, &VideoPage::SetClicked);
  connect(clear_, &QPushButton::clicked, this, &VideoPage::ClearClicked);
  connect(test_, &QPushButton::clicked, this, &VideoPage::TestClicked);
  connect(&session, &ConfigSession::TestEnded, this, &VideoPage::RestoreModeAfterTest);
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    // The screen changed its mode (another program, or the user): show the new one.
    connect(screen, &QScreen::geometryChanged, this, [this, screen] {
      const QSize size = screen->geometry().size() * screen->devicePixelRatio();
      current_->setText(QString::fromStdString(DescribeScreen(
          ColourCount(static_cast<uint32_t>(std::max(screen->depth(), 0))), size.width(), size.height())));
    });
  }

  FillModes();
  ShowCurrentMode();
}

VideoPage::~VideoPage() { RestoreModeAfterTest(); }

void VideoPage::FillModes() {
  if (!OpenDirectDraw()) {
    for (QPushButton* button : {set_, clear_, test_}) button->setEnabled(false);
    notice_->setText(kNoModeSwitching);
    return;
  }
  const std::optional<DisplayModeRecord> stored = ReadStoredDisplayMode();
  stored_->setText(stored ? Describe(*stored) : QString("Default"));
  EnumerateVideoModes([this](const DisplayModeRecord& mode) {
    DisplayModeRecord record = mode;
    record[kRecordSizeOffset] = static_cast<uint8_t>(kDisplayModeSize);
    record[kRecordSizeOffset + 1] = static_cast<uint8_t>(kDisplayModeSize >> 8);
    record[kDriverExtraOffset] = 0;
    record[kDriverExtraOffset + 1] = 0;
    auto* item = new QListWidgetItem(Describe(record), modes_);
    item->setData(Qt::UserRole, QByteArray(reinterpret_cast<const char*>(record.data()), kDisplayModeSize));
  });
  modes_->setCurrentRow(0);
  // The page only asks; the saver opens the switcher again when it runs.
  ReleaseVideoObjects();
}

void VideoPage::ShowCurrentMode() { current_->setText(QString::fromStdString(DescribeVideoMode(CurrentScreenMode()))); }

std::optional<DisplayModeRecord> VideoPage::SelectedMode() const {
  const QListWidgetItem* item = modes_->currentItem();
  if (!item) return std::nullopt;
  const QByteArray bytes = item->data(Qt::UserRole).toByteArray();
  if (bytes.size() != static_cast<qsizetype>(kDisplayModeSize)) return std::nullopt;
  DisplayModeRecord record;
  std::memcpy(record.data(), bytes.constData(), kDisplayModeSize);
  return record;
}

void VideoPage::SetClicked() {
  const std::optional<DisplayModeRecord> record = SelectedMode();
  if (!record) return;
  if (StoreDisplayMode(*record)) stored_->setText(Describe(*record));
}

void VideoPage::ClearClicked() {
  if (ClearStoredDisplayMode()) stored_->setText("Default");
}

void VideoPage::TestClicked() {
  const std::optional<DisplayModeRecord> record = SelectedMode();
  if (!record) return;
  // A test started while another runs keeps what was stored before the first.
  if (!videoTestPending_) modeBeforeTest_ = ReadStoredDisplayMode();
  videoTestPending_ = true;
  StoreDisplayMode(*record);
  Session().TestSettings();
}

void VideoPage::RestoreModeAfterTest() {
  if (!videoTestPending_) return;
  videoTestPending_ = false;
  if (modeBeforeTest_)
    StoreDisplayMode(*modeBeforeTest_);
  else
    ClearStoredDisplayMode();
  modeBeforeTest_.reset();
}

ConfigPage* CreateVideoPage(ConfigSession& session) { return new VideoPage(session); }

}  // namespace fluxo::config
