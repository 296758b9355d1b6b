#include "config/main_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "config/config_session.h"
#include "config/display_list.h"
#include "config/mode_description.h"
#include "config/page_factories.h"
#include "config/page_widgets.h"
#include "config/preview_pane.h"
#include "config/screen_mode.h"
#include "config/slider.h"
#include "config/stored_display_mode.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"

namespace fluxo::config {

namespace {
constexpr int kHelpTopic = 513;
constexpr int kSpeedMax = 15;
constexpr int kShowNameMax = 120;
constexpr int kPreviewWidth = 240;
}  // namespace

MainPage::MainPage(ConfigSession& session)
    : ConfigPage(session),
      displays_(new QComboBox),
      speed_(MakeTrackbar(1301)),
      showName_(MakeTrackbar(1314)),
      showNameEdit_(new QLineEdit),
      quickPreview_(new QCheckBox("Allow Quick Preview   ==>")),
      preview_(new PreviewPane(session)),
      advice_(new QLabel) {
  displays_->setObjectName(Id(1078));
  displays_->setMinimumContentsLength(24);
  showNameEdit_->setObjectName(Id(1315));
  showNameEdit_->setMaximumWidth(fontMetrics().horizontalAdvance("00000") + 12);
  quickPreview_->setObjectName(Id(1323));
  advice_->setObjectName(Id(1059));
  advice_->setWordWrap(true);
  advice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  advice_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QPushButton* previewButton = MakeButton("Preview", 1085);
  QPushButton* help = MakeHelpButton(*this, kHelpTopic);

  auto* displayLabel = new QLabel("Saved &displays:");
  displayLabel->setBuddy(displays_);

  auto* speedGroup = new QGroupBox("Animation Speed");
  auto* speedRow = new QHBoxLayout(speedGroup);
  speedRow->addWidget(new QLabel("Fast"));
  speedRow->addWidget(speed_, 1);
  speedRow->addWidget(new QLabel("Slow"));

  auto* titleGroup = new QGroupBox("Seconds to display title");
  auto* titleRow = new QHBoxLayout(titleGroup);
  titleRow->addWidget(showName_, 1);
  titleRow->addWidget(showNameEdit_);

  auto* left = new QVBoxLayout;
  left->addWidget(displayLabel);
  left->addWidget(displays_);
  left->addWidget(speedGroup);
  left->addWidget(titleGroup);
  left->addStretch(1);

  // The pane has the screen's shape, small as the display settings' monitor.
  preview_->setFixedSize(kPreviewWidth, kPreviewWidth * 3 / 4);
  auto* previewRow = new QHBoxLayout;
  previewRow->addWidget(quickPreview_, 0, Qt::AlignVCenter);
  previewRow->addWidget(preview_);

  auto* grid = new QGridLayout(this);
  grid->addLayout(left, 0, 0);
  grid->addLayout(previewRow, 0, 1, Qt::AlignTop);
  grid->addWidget(advice_, 1, 0, 1, 2);
  grid->addLayout(FootButtons({previewButton, help}), 2, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(1, 1);

  setTabOrder(displays_, speed_);
  setTabOrder(speed_, showName_);
  setTabOrder(showName_, showNameEdit_);
  setTabOrder(showNameEdit_, quickPreview_);
  setTabOrder(quickPreview_, previewButton);
  setTabOrder(previewButton, help);

  connect(displays_, &QComboBox::currentIndexChanged, this, &MainPage::DisplayChosen);
  connect(speed_, &QSlider::valueChanged, this, [this](int position) {
    Main().speed.store(static_cast<uint32_t>(position));
    ArmPreview();
  });
  connect(showName_, &QSlider::valueChanged, this, [this](int position) {
    Main().showName = static_cast<uint32_t>(position);
    showNameEdit_->setText(QString::number(position));
    ArmPreview();
  });
  connect(showNameEdit_, &QLineEdit::editingFinished, this, [this] {
    if (ReadShowNameEdit()) ArmPreview();
  });
  connect(quickPreview_, &QCheckBox::clicked, this, &MainPage::QuickPreviewClicked);
  connect(preview_, &PreviewPane::PreviewDue, this, [this] {
    preview_->StopPreview();
    preview_->StartPreview();  // no name: the preview plays "Active"
  });
  connect(previewButton, &QPushButton::clicked, this, [this] {
    StopPreview();
    ReadControls();
    Session().TestSettings();
  });
  connect(&session, &ConfigSession::SavedDisplaysChanged, this, [this] {
    if (!choosing_) FillDisplayList(displays_);
  });
  // Back from a test run: its display is gone, and the preview comes back
  // where it was showing.
  connect(&session, &ConfigSession::TestEnded, this, [this] {
    FillDisplayList(displays_);
    if (isVisible()) ArmPreview();
  });

  FillDisplayList(displays_);
  ShowSettings();
  ArmPreview();
}

void MainPage::SetActive() {
  ShowSettings();
  ShowAdvice();
  ArmPreview();
}

void MainPage::ReadControls() {
  Main().speed.store(static_cast<uint32_t>(speed_->value()));
  // A number typed but not yet confirmed counts too.
  ReadShowNameEdit();
  // "Preview" is not read back: a click sets it at once, and the Sequencer
  // page switches it too while this page's box is not refreshed.
}

void MainPage::KillActive() {
  ConfigPage::KillActive();
  StopPreview();
}

void MainPage::Apply() {
  ConfigPage::Apply();
  StopPreview();
}

void MainPage::QueryCancel() { StopPreview(); }

void MainPage::ShowSettings() {
  const MainSettings& m = Main();
  SetSlider(speed_, nullptr, 0, kSpeedMax, static_cast<int32_t>(m.speed.load()));
  SetSlider(showName_, showNameEdit_, 0, kShowNameMax, static_cast<int32_t>(m.showName));
  quickPreview_->setChecked(m.preview != 0);
  SelectActiveDisplay(displays_);
}

void MainPage::ShowAdvice() {
  const std::optional<DisplayModeRecord> stored = ReadStoredDisplayMode();
  const uint32_t bits = stored ? DecodeDisplayMode(*stored).bitsPerPixel : CurrentScreenMode().bitsPerPixel;
  advice_->setText(QString::fromStdString(VideoModeAdvice(ColourCount(bits))));
}

void MainPage::DisplayChosen(int index) {
  if (index < 0) return;
  if (!LoadListedDisplay(displays_->itemText(index))) {
    // Gone behind the dialog's back: the lists learn it, the edited display stays.
    QApplication::beep();
    Q_EMIT Session().SavedDisplaysChanged();
    return;
  }
  ShowSettings();
  Session().SetConfigDirty(false);
  choosing_ = true;
  Q_EMIT Session().SavedDisplaysChanged();
  choosing_ = false;
  ArmPreview();
}

void MainPage::QuickPreviewClicked(bool checked) {
  Main().preview = checked ? 1 : 0;
  if (checked)
    ArmPreview();
  else
    StopPreview();
}

bool MainPage::ReadShowNameEdit() {
  bool changed = false;
  Main().showName = static_cast<uint32_t>(
      ReadEditValue(showNameEdit_, showName_, 0, kShowNameMax, static_cast<int32_t>(Main().showName), &changed));
  return changed;
}

void MainPage::ArmPreview() { preview_->ArmPreviewTimer(); }

void MainPage::StopPreview() {
  // A timer still running would bring the preview back behind the page's back.
  preview_->StopPreviewTimer();
  preview_->StopPreview();
}

ConfigPage* CreateMainPage(ConfigSession& session) { return new MainPage(session); }

}  // namespace fluxo::config
