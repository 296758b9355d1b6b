#include "config/sequencer_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <limits>

#include "config/config_session.h"
#include "config/page_factories.h"
#include "config/page_widgets.h"
#include "config/preview_pane.h"
#include "engine/module_registry.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"
#include "settings/sequence_items.h"

namespace fluxo::config {

namespace {

// The page has no help topic of its own: the help opens at its index.
constexpr int kHelpIndex = 0;
const char kDefaultSeconds[] = "16";
enum Column { kNameColumn, kSecondsColumn, kClearColumn };

// The "Sec" text read as a decimal number: its leading digits, as the
// platform's number parsing does; too large a number stops at the maximum.
uint32_t SecondsOf(const QString& text) {
  uint64_t seconds = 0;
  for (QChar c : text.trimmed()) {
    if (c < '0' || c > '9') break;
    seconds = std::min<uint64_t>(seconds * 10 + (c.unicode() - '0'), std::numeric_limits<uint32_t>::max());
  }
  return static_cast<uint32_t>(seconds);
}

// Displays that contain a sequence or the Random module cannot be items.
bool Sequenceable(const std::string& name) {
  return !DisplayHasModule(name.c_str(), kModuleNames[kModuleSequencer]) &&
         !DisplayHasModule(name.c_str(), kModuleNames[kModuleRandom]);
}

}  // namespace

SequencerPage::SequencerPage(ConfigSession& session, QWidget* parent) : ConfigPage(session, parent) {
  BuildControls();
  FillAvailable();
  connect(&session, &ConfigSession::SavedDisplaysChanged, this, &SequencerPage::FillAvailable);
  // Back from a test run the preview returns, but only to the page showing.
  connect(&session, &ConfigSession::TestEnded, this, [this] {
    if (showing_) pane_->ArmPreviewTimer();
  });
}

void SequencerPage::BuildControls() {
  auto* availableLabel = new QLabel("Available");
  available_ = new QListWidget;
  available_->setObjectName(Id(1019));
  availableLabel->setBuddy(available_);
  connect(available_, &QListWidget::itemSelectionChanged, this, &SequencerPage::AvailableChosen);
  connect(available_, &QListWidget::itemDoubleClicked, this, &SequencerPage::AddSelected);

  auto* selectedLabel = new QLabel("Selected");
  items_ = new QTreeWidget;
  items_->setObjectName(Id(1018));
  items_->setRootIsDecorated(false);
  items_->setUniformRowHeights(true);
  items_->setSelectionMode(QAbstractItemView::SingleSelection);
  items_->setHeaderLabels({"Display Name", "Sec", "Clr"});
  for (int column : {kSecondsColumn, kClearColumn})
    items_->headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
  items_->header()->setStretchLastSection(false);
  items_->header()->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
  items_->header()->setSectionResizeMode(kSecondsColumn, QHeaderView::ResizeToContents);
  items_->header()->setSectionResizeMode(kClearColumn, QHeaderView::ResizeToContents);
  selectedLabel->setBuddy(items_);
  connect(items_, &QTreeWidget::itemSelectionChanged, this, &SequencerPage::RowChosen);

  add_ = MakeButton("-->", 1020);
  remove_ = MakeButton("<--", 1021);
  auto* addAll = MakeButton("All -->", 3);
  auto* removeAll = MakeButton("<-- All", 4);
  up_ = MakeButton("Up", 1340);
  down_ = MakeButton("Down", 1341);
  connect(add_, &QPushButton::clicked, this, &SequencerPage::AddSelected);
  connect(remove_, &QPushButton::clicked, this, &SequencerPage::RemoveSelected);
  connect(addAll, &QPushButton::clicked, this, &SequencerPage::AddAll);
  connect(removeAll, &QPushButton::clicked, this, &SequencerPage::RemoveAll);
  connect(up_, &QPushButton::clicked, this, [this] { MoveSelected(-1); });
  connect(down_, &QPushButton::clicked, this, [this] { MoveSelected(1); });

  auto* moveButtons = new QVBoxLayout;
  moveButtons->addStretch(1);
  for (QPushButton* button : {add_, remove_, addAll, removeAll}) moveButtons->addWidget(button);
  moveButtons->addStretch(1);
  auto* orderButtons = new QVBoxLayout;
  orderButtons->addStretch(1);
  orderButtons->addWidget(up_);
  orderButtons->addWidget(down_);
  orderButtons->addStretch(1);

  auto* lists = new QGridLayout;
  lists->addWidget(availableLabel, 0, 0);
  lists->addWidget(available_, 1, 0);
  lists->addLayout(moveButtons, 1, 1);
  lists->addWidget(selectedLabel, 0, 2);
  lists->addWidget(items_, 1, 2);
  lists->addLayout(orderButtons, 1, 3);
  lists->setColumnStretch(0, 2);
  lists->setColumnStretch(2, 3);

  auto* secondsLabel = new QLabel("Seconds:");
  seconds_ = new QLineEdit(kDefaultSeconds);
  seconds_->setObjectName(Id(1027));
  seconds_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,9}"), seconds_));
  seconds_->setMaximumWidth(seconds_->fontMetrics().horizontalAdvance("000000000") + 12);
  secondsLabel->setBuddy(seconds_);
  clearFirst_ = new QCheckBox("Clear first");
  clearFirst_->setObjectName(Id(1036));
  clearFirst_->setChecked(true);
  orderedPlay_ = new QCheckBox("Play in order");
  orderedPlay_->setObjectName(Id(1029));
  // The order is part of the sequence: a change alone must reach the store on Apply.
  connect(orderedPlay_, &QCheckBox::clicked, this, [this] { Session().SetConfigDirty(true); });
  auto* itemOptions = new QHBoxLayout;
  itemOptions->addWidget(secondsLabel);
  itemOptions->addWidget(seconds_);
  itemOptions->addWidget(clearFirst_);
  itemOptions->addStretch(1);
  itemOptions->addWidget(orderedPlay_);

  previewLabel_ = new QLabel;
  previewLabel_->setObjectName(Id(1024));
  previewLabel_->setTextFormat(Qt::PlainText);  // a display's name as typed, never markup
  pane_ = new PreviewPane(Session());
  pane_->setFixedSize(200, 150);
  connect(pane_, &PreviewPane::PreviewDue, this, &SequencerPage::PreviewDue);
  quickPreview_ = new QCheckBox("Allow Quick Preview");
  quickPreview_->setObjectName(Id(1323));
  connect(quickPreview_, &QCheckBox::clicked, this, &SequencerPage::QuickPreviewClicked);
  auto* previewColumn = new QVBoxLayout;
  previewColumn->addWidget(previewLabel_);
  previewColumn->addWidget(pane_);
  previewColumn->addWidget(quickPreview_);

  auto* test = MakeButton("Test Sequencer Settings", 1085);
  connect(test, &QPushButton::clicked, this, &SequencerPage::TestSequence);
  auto* help = MakeButton("Help", 1298);
  connect(help, &QPushButton::clicked, this, [this] { Session().ShowHelp(kHelpIndex); });
  auto* commands = new QVBoxLayout;
  commands->addStretch(1);
  commands->addWidget(test);
  commands->addWidget(help);

  auto* bottom = new QHBoxLayout;
  bottom->addLayout(previewColumn);
  bottom->addStretch(1);
  bottom->addLayout(commands);

  auto* page = new QVBoxLayout(this);
  page->addLayout(lists, 1);
  page->addLayout(itemOptions);
  page->addLayout(bottom);

  setTabOrder(available_, add_);
  setTabOrder(add_, remove_);
  setTabOrder(remove_, addAll);
  setTabOrder(addAll, removeAll);
  setTabOrder(removeAll, items_);
  setTabOrder(items_, up_);
  setTabOrder(up_, down_);
  setTabOrder(down_, seconds_);
}

void SequencerPage::FillAvailable() {
  const QSignalBlocker block(available_);
  available_->clear();
  for (const std::string& name : ListDisplays())
    if (Sequenceable(name)) available_->addItem(QString::fromStdString(name));
  UpdateButtons();
}

void SequencerPage::SetActive() {
  showing_ = true;
  ShowItems();
  orderedPlay_->setChecked(CurrentSequence().orderedPlay != 0);
  UpdateButtons();
  quickPreview_->setChecked(Main().preview != 0);
  SetPreviewName({});
  pane_->ArmPreviewTimer();
}

void SequencerPage::ShowItems() {
  const QSignalBlocker block(items_);
  items_->clear();
  for (const SequenceItem& item : CurrentSequence().items)
    AddRow(QString::fromUtf8(item.name, static_cast<int>(strnlen(item.name, sizeof item.name))),
           QString::number(item.seconds), item.clearFirst != 0);
}

void SequencerPage::ReadControls() {
  const int rows = items_->topLevelItemCount();
  if (!showing_ || rows == 0) return;
  SequenceList list;
  list.orderedPlay = orderedPlay_->isChecked() ? 1 : 0;
  for (int row = 0; row < rows; ++row) {
    const QTreeWidgetItem* shown = items_->topLevelItem(row);
    SequenceItem item;
    const QByteArray name = shown->text(kNameColumn).toUtf8();
    std::memcpy(item.name, name.constData(), std::min<size_t>(name.size(), sizeof item.name - 1));
    item.seconds = SecondsOf(shown->text(kSecondsColumn));
    item.clearFirst = shown->text(kClearColumn).startsWith('Y') ? 1 : 0;
    list.items.push_back(item);
  }
  CurrentSequence() = std::move(list);
}

void SequencerPage::KillActive() {
  QueryCancel();
  ConfigPage::KillActive();
  showing_ = false;
}

void SequencerPage::Apply() {
  QueryCancel();
  ConfigPage::Apply();
}

void SequencerPage::QueryCancel() {
  pane_->StopPreviewTimer();
  pane_->StopPreview();
}

void SequencerPage::UpdateButtons() {
  add_->setEnabled(!available_->selectedItems().isEmpty());
  const bool row = !items_->selectedItems().isEmpty();
  for (QPushButton* button : {remove_, up_, down_}) button->setEnabled(row);
}

void SequencerPage::AddRow(const QString& name, const QString& seconds, bool clearFirst) {
  auto* row = new QTreeWidgetItem(items_, {name, seconds, clearFirst ? "Y" : "N"});
  for (int column : {kSecondsColumn, kClearColumn}) row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
}

void SequencerPage::AddSelected() {
  const QList<QListWidgetItem*> chosen = available_->selectedItems();
  if (chosen.isEmpty()) return;
  if (!DisplayExists(chosen.first()->text().toStdString())) {
    // Deleted by another program since the list was filled.
    QApplication::beep();
    FillAvailable();
    return;
  }
  AddRow(chosen.first()->text(), seconds_->text(), clearFirst_->isChecked());
  items_->clearSelection();
  Session().SetConfigDirty(true);
  UpdateButtons();
}

void SequencerPage::AddAll() {
  FillAvailable();  // what is stored now, should another program have deleted some
  for (int i = 0; i < available_->count(); ++i)
    AddRow(available_->item(i)->text(), seconds_->text(), clearFirst_->isChecked());
  items_->clearSelection();
  Session().SetConfigDirty(true);
  UpdateButtons();
}

void SequencerPage::RemoveSelected() {
  const QList<QTreeWidgetItem*> chosen = items_->selectedItems();
  if (chosen.isEmpty()) return;
  delete chosen.first();
  items_->clearSelection();
  Session().SetConfigDirty(true);
  UpdateButtons();
}

void SequencerPage::RemoveAll() {
  items_->clear();
  Session().SetConfigDirty(true);
  UpdateButtons();
}

void SequencerPage::MoveSelected(int step) {
  const QList<QTreeWidgetItem*> chosen = items_->selectedItems();
  if (chosen.isEmpty()) return;
  const int row = items_->indexOfTopLevelItem(chosen.first());
  const int target = std::clamp(row + step, 0, items_->topLevelItemCount() - 1);
  {
    const QSignalBlocker block(items_);
    QTreeWidgetItem* item = items_->takeTopLevelItem(row);
    items_->insertTopLevelItem(target, item);
    items_->setCurrentItem(item);
    item->setSelected(true);
  }
  items_->setFocus();
  Session().SetConfigDirty(true);
  UpdateButtons();
}

void SequencerPage::AvailableChosen() {
  const QList<QListWidgetItem*> chosen = available_->selectedItems();
  if (!chosen.isEmpty()) {
    SetPreviewName(chosen.first()->text());
    pane_->ArmPreviewTimer();
  }
  UpdateButtons();
}

void SequencerPage::RowChosen() {
  const QList<QTreeWidgetItem*> chosen = items_->selectedItems();
  if (!chosen.isEmpty()) {
    {
      const QSignalBlocker block(available_);
      available_->clearSelection();
    }
    SetPreviewName(chosen.first()->text(kNameColumn));
    pane_->ArmPreviewTimer();
  }
  UpdateButtons();
}

void SequencerPage::SetPreviewName(const QString& name) {
  previewName_ = name;
  previewLabel_->setText(name);
}

void SequencerPage::QuickPreviewClicked() {
  const bool wasOn = Main().preview != 0;
  Main().preview = wasOn ? 0 : 1;
  if (wasOn) {
    pane_->StopPreviewTimer();
    pane_->StopPreview();
  } else {
    pane_->ArmPreviewTimer();
  }
}

void SequencerPage::PreviewDue() {
  pane_->StopPreview();
  if (!previewName_.isEmpty()) pane_->StartPreview(previewName_);
}

void SequencerPage::TestSequence() {
  ReadControls();
  Session().TestModule(kModuleSequencer);
}

ConfigPage* CreateSequencerPage(ConfigSession& session) { return new SequencerPage(session); }

}  // namespace fluxo::config
