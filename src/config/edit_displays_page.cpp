#include "config/edit_displays_page.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <cstdio>

#include "config/config_session.h"
#include "config/page_widgets.h"
#include "config/display_list.h"
#include "config/page_factories.h"
#include "modules/plugin_host.h"
#include "settings/display_file.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"
#include "sound/sound_feed.h"

namespace fluxo::config {

namespace {

constexpr int kHelpTopic = 518;
constexpr int kRandomModeControl = 0;  // "Actv/Svd/Snd"
constexpr int kRandomSoundMode = 2;
const char kScratchDisplay[] = "Scratch";

struct ModuleCheck {
  int id;
  const char* label;
};
// In module index order.
constexpr ModuleCheck kModuleChecks[kModuleCount] = {
    {1021, "Bezier"},     {1041, "Cyclic"},  {1060, "Pattern"},   {1061, "Plasma"},   {1062, "Polygon"},
    {1082, "Sphere"},     {1083, "Stain"},   {1084, "Star"},      {1099, "Vortex"},   {1100, "Ray"},
    {1049, "Whip"},       {1050, "Flow"},    {1051, "Line"},      {1052, "Squiggle"}, {1046, "Effect"},
    {1048, "Slide Show"}, {1053, "Plug-In"}, {1071, "Sequencer"}, {1070, "Random"},
};
constexpr int kCheckColumns = 5;

bool FeedFlag(size_t offset) {
  const SoundFeedBlock* feed = SoundFeed();
  return feed && feed->U32(offset) != 0;
}

}  // namespace

EditDisplaysPage::EditDisplaysPage(ConfigSession& session, QWidget* parent)
    : ConfigPage(session, parent), dialogs_(StandardDisplayFileDialogs()) {
  BuildControls();
  FillDisplayList(displays_);
  FillPlugInList();
  ShowModuleChecks();
  // Without the PlugIn module running, the chosen library is still loaded so
  // that "&About Plug-In" has something to ask.
  if (!IsActive(kModulePlugIn) && plugIns_->isEnabled() && !plugIns_->currentText().isEmpty())
    LoadPlugIn(plugIns_->currentText().toUtf8().constData());
  saveSelection_->setEnabled(session.ConfigDirty());

  connect(&session, &ConfigSession::ConfigDirtyChanged, saveSelection_, &QPushButton::setEnabled);
  // A display loaded on another page brings its own modules: the checks show
  // them, so that reading the checks back (Apply) keeps them.
  connect(&session, &ConfigSession::SavedDisplaysChanged, this, [this] {
    FillDisplayList(displays_);
    ShowModuleChecks();
  });
  connect(&session, &ConfigSession::TestEnded, this, [this] { FillDisplayList(displays_); });
}

void EditDisplaysPage::BuildControls() {
  auto* modules = new QGroupBox("Active Modules");
  auto* moduleGrid = new QGridLayout(modules);
  for (int m = 0; m < kModuleCount; ++m) {
    auto* check = new QCheckBox(kModuleChecks[m].label);
    check->setObjectName(Id(kModuleChecks[m].id));
    connect(check, &QCheckBox::clicked, this, &EditDisplaysPage::ModuleCheckClicked);
    moduleGrid->addWidget(check, m / kCheckColumns, m % kCheckColumns);
    moduleChecks_[m] = check;
  }
  const int nextRow = (kModuleCount + kCheckColumns - 1) / kCheckColumns;
  clearFirst_ = new QCheckBox("Clear the screen before running this display");
  clearFirst_->setObjectName(Id(1036));
  connect(clearFirst_, &QCheckBox::clicked, this, &EditDisplaysPage::ModuleCheckClicked);
  moduleGrid->addWidget(clearFirst_, nextRow, 0, 1, kCheckColumns);

  plugInLabel_ = new QLabel("Current Plug-In Module:");
  plugInLabel_->setObjectName(Id(1335));
  plugIns_ = new QComboBox;
  plugIns_->setObjectName(Id(1079));
  plugInLabel_->setBuddy(plugIns_);
  connect(plugIns_, &QComboBox::activated, this, &EditDisplaysPage::PlugInChosen);
  aboutPlugIn_ = MakeButton("&About Plug-In", 1087);
  connect(aboutPlugIn_, &QPushButton::clicked, this, &EditDisplaysPage::AboutPlugIn);
  auto* plugInRow = new QHBoxLayout;
  plugInRow->addWidget(plugInLabel_);
  plugInRow->addWidget(plugIns_, 1);
  plugInRow->addWidget(aboutPlugIn_);
  moduleGrid->addLayout(plugInRow, nextRow + 1, 0, 1, kCheckColumns);

  auto* saved = new QGroupBox("Saved Displays");
  auto* savedGrid = new QGridLayout(saved);
  displays_ = new QComboBox;
  displays_->setObjectName(Id(1078));
  displays_->setEditable(true);
  // Typing a name must not add it to the list: only a save does.
  displays_->setInsertPolicy(QComboBox::NoInsert);
  displays_->lineEdit()->setMaxLength(static_cast<int>(kDisplayNameSize) - 1);
  displays_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  displays_->setMinimumContentsLength(24);
  connect(displays_, &QComboBox::activated, this, &EditDisplaysPage::DisplayChosen);
  saveSelection_ = MakeButton("Save Selection", 1080);
  connect(saveSelection_, &QPushButton::clicked, this, &EditDisplaysPage::SaveSelection);
  auto* deleteSelection = MakeButton("Delete Selection", 1077);
  connect(deleteSelection, &QPushButton::clicked, this, &EditDisplaysPage::DeleteSelection);
  auto* exportDisplay = MakeButton("Export this Display to a *.FLX file", 1047);
  connect(exportDisplay, &QPushButton::clicked, this, &EditDisplaysPage::ExportSelection);
  auto* importDisplay = MakeButton("Import a Display from a *.FLX file", 1054);
  connect(importDisplay, &QPushButton::clicked, this, &EditDisplaysPage::ImportDisplays);
  savedGrid->addWidget(displays_, 0, 0, 1, 2);
  savedGrid->addWidget(saveSelection_, 1, 0);
  savedGrid->addWidget(deleteSelection, 1, 1);
  savedGrid->addWidget(exportDisplay, 2, 0, 1, 2);
  savedGrid->addWidget(importDisplay, 3, 0, 1, 2);

  const int iconSize = style()->pixelMetric(QStyle::PM_LargeIconSize);
  syncIcon_ = new QLabel;
  syncIcon_->setObjectName(Id(1332));
  syncIcon_->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(iconSize));
  noSyncIcon_ = new QLabel;
  noSyncIcon_->setObjectName(Id(1333));
  noSyncIcon_->setPixmap(style()->standardIcon(QStyle::SP_MediaVolumeMuted).pixmap(iconSize));
  syncText_ = new QLabel;
  syncText_->setObjectName(Id(1334));
  auto* preview = MakeButton("Preview", 1085);
  connect(preview, &QPushButton::clicked, this, &EditDisplaysPage::Preview);
  auto* help = MakeButton("Help", 1298);
  connect(help, &QPushButton::clicked, this, [this] { Session().ShowHelp(kHelpTopic); });

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(syncIcon_);
  bottom->addWidget(noSyncIcon_);
  bottom->addWidget(syncText_);
  bottom->addStretch(1);
  bottom->addWidget(preview);
  bottom->addWidget(help);

  auto* page = new QVBoxLayout(this);
  page->addWidget(modules);
  page->addWidget(saved);
  page->addStretch(1);
  page->addLayout(bottom);
}

void EditDisplaysPage::FillPlugInList() {
  const QSignalBlocker block(plugIns_);
  plugIns_->clear();
  const PlugInList list = ListPlugIns();
  for (const std::string& name : list.names) plugIns_->addItem(QString::fromStdString(name));
  plugIns_->setCurrentIndex(list.selected);
  // Without libraries the PlugIn module cannot be chosen.
  const bool any = !list.names.empty();
  for (QWidget* control : {static_cast<QWidget*>(plugIns_), static_cast<QWidget*>(plugInLabel_),
                           static_cast<QWidget*>(moduleChecks_[kModulePlugIn]), static_cast<QWidget*>(aboutPlugIn_)})
    control->setEnabled(any);
}

void EditDisplaysPage::SetActive() {
  saveSelection_->setEnabled(Session().ConfigDirty());
  ShowModuleChecks();
}

void EditDisplaysPage::ReadModuleChecks() {
  for (int m = 0; m < kModuleCount; ++m) fluxo::SetActive(m, moduleChecks_[m]->isChecked());
  Main().clearFirst = clearFirst_->isChecked() ? 1 : 0;
}

void EditDisplaysPage::ShowModuleChecks() {
  for (int m = 0; m < kModuleCount; ++m) moduleChecks_[m]->setChecked(IsActive(m));
  clearFirst_->setChecked(Main().clearFirst != 0);
  SelectActiveDisplay(displays_);
  {
    const QSignalBlocker block(plugIns_);
    const char* path = Slot(kModulePlugIn).pluginPath;
    const int found = IsActive(kModulePlugIn) && path[0] ? plugIns_->findText(QString::fromUtf8(path)) : -1;
    plugIns_->setCurrentIndex(found >= 0 ? found : (plugIns_->count() > 0 ? 0 : -1));
  }
  ShowSyncState();
}

void EditDisplaysPage::ShowSyncState() {
  ApplySoundAvailability();
  const ControlBlock& random = Slot(kModuleRandom).controls;
  const bool inSync = FeedFlag(feed::kPaletteUsesSound) || FeedFlag(feed::kModulesUseSound) ||
                      IsActive(kModuleSphere) ||
                      (IsActive(kModuleRandom) && random.value[kRandomModeControl] == kRandomSoundMode);
  syncIcon_->setVisible(inSync);
  noSyncIcon_->setVisible(!inSync);
  syncText_->setText(inSync ? "Sync" : "No Sync");
}

bool EditDisplaysPage::LoadSelectedDisplay() {
  const int selected = displays_->currentIndex();
  return selected >= 0 && LoadListedDisplay(displays_->itemText(selected));
}

void EditDisplaysPage::DisplaysChanged() { Q_EMIT Session().SavedDisplaysChanged(); }

void EditDisplaysPage::ModuleCheckClicked() {
  Session().SetConfigDirty(true);  // enables "Save Selection"
  ReadModuleChecks();
  ShowSyncState();
}

void EditDisplaysPage::PlugInChosen(int index) {
  const QByteArray name = plugIns_->itemText(index).toUtf8();
  LoadPlugIn(name.constData());
  ModuleSlot& slot = Slot(kModulePlugIn);
  std::snprintf(slot.pluginPath, sizeof slot.pluginPath, "%s", name.constData());
  Session().SetConfigDirty(true);
}

void EditDisplaysPage::DisplayChosen() {
  if (!LoadSelectedDisplay()) {
    // Gone behind the dialog's back: the lists learn it, the edited display stays.
    QApplication::beep();
    DisplaysChanged();
    return;
  }
  ShowModuleChecks();
  Session().SetConfigDirty(false);
  DisplaysChanged();
}

bool EditDisplaysPage::EditedName(QString& name, const QString& command) {
  name = displays_->currentText();
  if (name.isEmpty()) name = kScratchDisplay;
  if (IsStorableDisplayName(name.toUtf8().toStdString())) return true;
  // The store would refuse it; say so rather than seem to have saved.
  dialogs_.warn(this, command,
                QStringLiteral("\"%1\" cannot name a display: a name has at most %2 characters and no "
                               "backslash.")
                    .arg(name)
                    .arg(kDisplayNameSize - 1));
  return false;
}

void EditDisplaysPage::SaveSelection() {
  ReadModuleChecks();
  QString name;
  if (!EditedName(name, "Save Selection")) return;
  const QByteArray utf8 = name.toUtf8();
  // The store's names ignore case, so "night" would replace "Night": ask the
  // store rather than compare with the list.
  if (DisplayExists(utf8.toStdString()) &&
      !dialogs_.askYesNo(this, "Replace Existing Settings?",
                         QStringLiteral("Are you sure you want to overwrite the existing settings for %1?").arg(name)))
    return;
  SaveCurrentDisplay(utf8.constData());  // also makes it "Active"
  Session().SetConfigDirty(false);
  DisplaysChanged();
}

void EditDisplaysPage::DeleteSelection() {
  const int found = displays_->findText(displays_->currentText(), Qt::MatchFixedString | Qt::MatchCaseSensitive);
  if (found >= 0) {
    DeleteDisplay(displays_->itemText(found).toUtf8().constData());
    FillDisplayList(displays_);
    const QSignalBlocker block(displays_);
    displays_->setCurrentIndex(displays_->count() > 0 ? 0 : -1);
  }
  LoadSelectedDisplay();
  ShowModuleChecks();
  Session().SetConfigDirty(false);
  DisplaysChanged();
}

void EditDisplaysPage::ExportSelection() {
  QString name;
  if (!EditedName(name, "Export this Display")) return;
  const QByteArray utf8 = name.toUtf8();
  ReadModuleChecks();
  SaveCurrentDisplay(utf8.constData());
  DisplaysChanged();
  const QString file = dialogs_.chooseExportFile(this, QString::fromStdString(ExportFileName(utf8.toStdString())));
  if (file.isEmpty()) return;
  if (!ExportDisplay(DisplayKeyPath(utf8.toStdString()).c_str(), file.toUtf8().constData()))
    dialogs_.warn(this, "Export this Display",
                  QStringLiteral("The display \"%1\" could not be written to %2.").arg(name, file));
}

void EditDisplaysPage::ImportDisplays() {
  QString imported;
  for (const QString& path : dialogs_.chooseImportFiles(this)) {
    QString name;
    if (ImportDisplayFile(path, name)) imported = name;
  }
  if (imported.isEmpty()) return;
  FillDisplayList(displays_);
  {
    const QSignalBlocker block(displays_);
    displays_->setCurrentIndex(displays_->findText(imported, Qt::MatchFixedString));
  }
  LoadSelectedDisplay();
  ShowModuleChecks();
  Session().SetConfigDirty(false);
  DisplaysChanged();
}

bool EditDisplaysPage::ImportDisplayFile(const QString& path, QString& name) {
  name = QFileInfo(path).completeBaseName();
  const QByteArray utf8 = name.toUtf8();
  if (DisplayExists(utf8.toStdString()) &&
      !dialogs_.askYesNo(this, "Settings by this name already exist!",
                         QStringLiteral("This will overwrite your existing settings for \"%1\"\n\n"
                                        "Do you wish to proceed?")
                             .arg(name)))
    return false;
  const ImportReport report = ImportDisplayReport(path.toUtf8().constData(), utf8.constData());
  const QString reason = QString::fromStdString(report.detail);
  switch (report.outcome) {
    case ImportOutcome::Imported:
      return true;
    case ImportOutcome::ImportedTruncated:
      dialogs_.warn(this, "Import a Display",
                    QStringLiteral("%1 breaks off early (%2); the display \"%3\" holds what came before.")
                        .arg(path, reason, name));
      return true;
    default:
      dialogs_.warn(this, "Import a Display",
                    QStringLiteral("The display \"%1\" could not be imported from %2: %3.").arg(name, path, reason));
      return false;
  }
}

void EditDisplaysPage::AboutPlugIn() {
  ModuleSlot& slot = Slot(kModulePlugIn);
  if (!slot.about) return;
  try {
    slot.about(&slot);
  } catch (const PlugInFault&) {
    QApplication::beep();  // the library lost its operations; nothing else to do here
  }
}

void EditDisplaysPage::Preview() {
  ReadModuleChecks();
  Session().TestSettings();
}

ConfigPage* CreateEditDisplaysPage(ConfigSession& session) { return new EditDisplaysPage(session); }

}  // namespace fluxo::config
