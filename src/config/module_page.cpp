// The settings page of one module: a row per control, ten to a page of
// controls, plus the slide show's picture choice and the plug-in notice.
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "config/config_page.h"
#include "config/config_session.h"
#include "config/control_rows.h"
#include "config/page_factories.h"
#include "config/picture_dialog.h"
#include "config/slider.h"
#include "config/page_widgets.h"
#include "engine/module_registry.h"
#include "host/picture_import.h"
#include "modules/kit/file_mask.h"
#include "settings/settings_store.h"

namespace fluxo::config {

namespace {

constexpr int kHelpTopic = 519;
constexpr int kControlsPerPage = 10;

template <typename W>
W* Named(W* widget, int id) {
  widget->setObjectName(Id(id));
  return widget;
}

QString FieldText(const char* text, size_t size) { return QString::fromUtf8(text, strnlen(text, size)); }

// Stores a path into a record field, cut at a character boundary when it is
// too long, so the field always ends in a zero and holds valid text.
void StoreText(char* field, size_t size, const QString& text) {
  QByteArray bytes = text.toUtf8();
  if (bytes.size() >= static_cast<qsizetype>(size)) {
    qsizetype length = static_cast<qsizetype>(size) - 1;
    while (length > 0 && (static_cast<unsigned char>(bytes[length]) & 0xC0) == 0x80) --length;
    bytes.truncate(length);
  }
  std::memcpy(field, bytes.constData(), static_cast<size_t>(bytes.size()));
  field[bytes.size()] = '\0';
}

// The folder the plug-in libraries are looked for in.
std::string PlugInFolder() {
  char folder[FLUXO_PATH_SIZE] = {};
  ReadSetting("PlugInDir", SettingsKeyName(), reg::kRegSz, folder, sizeof folder);
  return std::string(folder, strnlen(folder, sizeof folder));
}

bool PlugInsInstalled() {
  const std::string folder = PlugInFolder();
  return !folder.empty() && kit::CountFiles(folder + "/*.so") > 0;
}

// The page selector's up-down. The upper arrow (or the Up key) counts the page
// number up, which the selector receives as a change of -1; the lower one
// counts it down.
class UpDown : public QWidget {
 public:
  UpDown(QWidget* parent, std::function<void(int change)> stepped) : QWidget(parent), stepped_(std::move(stepped)) {
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);  // room for the focus frame
    layout->setSpacing(0);
    layout->addWidget(Arrow(Qt::UpArrow, QStringLiteral("nextPage"), -1));
    layout->addWidget(Arrow(Qt::DownArrow, QStringLiteral("previousPage"), +1));
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override {
    if (event->key() == Qt::Key_Up)
      stepped_(-1);
    else if (event->key() == Qt::Key_Down)
      stepped_(+1);
    else
      QWidget::keyPressEvent(event);
  }
  void paintEvent(QPaintEvent*) override {
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
  }

 private:
  QToolButton* Arrow(Qt::ArrowType type, const QString& name, int change) {
    auto* arrow = new QToolButton(this);
    arrow->setObjectName(name);
    arrow->setArrowType(type);
    arrow->setAutoRepeat(true);
    arrow->setFocusPolicy(Qt::NoFocus);
    arrow->setFixedSize(22, 13);
    connect(arrow, &QToolButton::clicked, this, [this, change] { stepped_(change); });
    return arrow;
  }

  std::function<void(int change)> stepped_;
};

class ModulePage final : public ConfigPage {
 public:
  ModulePage(ConfigSession& session, int module);
  // The focused edit reports its last edit while the widget goes away: not
  // to this page any more.
  ~ModulePage() override {
    for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
  }

  void SetActive() override;
  void ReadControls() override;

 private:
  enum class Field { Value, RangeLo, RangeHi };

  ModuleSlot& Record() const { return Slot(module_); }
  ControlBlock& Controls() const { return Record().controls; }
  bool IsSlideShow() const { return module_ == kModuleBitmap; }
  bool IsPlugIn() const { return module_ == kModulePlugIn; }

  void BuildRows();
  void ConnectRow(int i);
  void RebuildPlugInRows();
  void Layout();
  void OrderTabs();

  void ReadTrackbars();
  void ReadSources();
  void ReadEdit(int i, Field field);
  void ReadPathEdit();
  void StepPage(int change);
  void Browse();
  void Reset();
  void Dirty() { Session().SetConfigDirty(true); }

  const int module_;
  ControlRowSet rows_;
  QGroupBox* group_;
  QLineEdit* file_ = nullptr;
  QPushButton* browse_ = nullptr;
  QLabel* pageText_;
  UpDown* pageStepper_;
  QLabel* noPlugIns_ = nullptr;
  QPushButton* testModule_;
  QPushButton* reset_;
  QPushButton* testAll_;
  QPushButton* help_;
};

ModulePage::ModulePage(ConfigSession& session, int module) : ConfigPage(session), module_(module) {
  auto* page = new QVBoxLayout(this);
  group_ = Named(new QGroupBox(this), 1038);
  auto* groupLayout = new QVBoxLayout(group_);
  if (IsSlideShow()) {
    auto* fileLine = new QHBoxLayout;
    auto* fileLabel = new QLabel(QStringLiteral("&File:"), group_);
    file_ = Named(new QLineEdit(group_), 1292);
    file_->setMaxLength(FLUXO_PATH_SIZE - 1);
    fileLabel->setBuddy(file_);
    browse_ = Named(new QPushButton(QStringLiteral("Browse"), group_), 1299);
    fileLine->addWidget(fileLabel);
    fileLine->addWidget(file_, 1);
    fileLine->addWidget(browse_);
    groupLayout->addLayout(fileLine);
    connect(file_, &QLineEdit::editingFinished, this, &ModulePage::ReadPathEdit);
    connect(browse_, &QPushButton::clicked, this, &ModulePage::Browse);
  }
  rows_.grid = MakeControlGrid(group_);
  groupLayout->addLayout(rows_.grid);
  groupLayout->addStretch(1);

  auto* selector = new QHBoxLayout;
  pageText_ = Named(new QLabel(group_), 1320);
  pageStepper_ = Named(new UpDown(group_, [this](int change) { StepPage(change); }), 1319);
  selector->addStretch(1);
  selector->addWidget(pageText_);
  selector->addWidget(pageStepper_);
  groupLayout->addLayout(selector);
  page->addWidget(group_, 1);

  if (IsSlideShow()) {
    auto* formatsLabel = new QLabel(QStringLiteral("File formats supported on this system include:"), this);
    auto* formats = Named(new QPlainTextEdit(QString::fromStdString(SupportedFormatsText()), this), 1300);
    formats->setReadOnly(true);
    formats->setMaximumHeight(formats->fontMetrics().lineSpacing() * 3 + 12);
    page->addWidget(formatsLabel);
    page->addWidget(formats);
  }
  if (IsPlugIn()) {
    noPlugIns_ = new QLabel(
        QStringLiteral("There are no Plug-In Modules installed.\n\nYou can find out more about Plug-In Modules "
                       "(including\nwhere to download them and how to develop your own)\nin the help file."),
        this);
    noPlugIns_->setObjectName(QStringLiteral("noPlugIns"));
    noPlugIns_->setAlignment(Qt::AlignCenter);
    noPlugIns_->setContentsMargins(30, 50, 30, 50);
    noPlugIns_->hide();
    page->addWidget(noPlugIns_, 1);
  }

  auto* buttons = new QHBoxLayout;
  testModule_ = Named(new QPushButton(QStringLiteral("Test Module Settings"), this), 1086);
  reset_ = Named(new QPushButton(QStringLiteral("Reset"), this), 1087);
  testAll_ = Named(new QPushButton(QStringLiteral("Test All Settings"), this), 1085);
  help_ = Named(new QPushButton(QStringLiteral("Help"), this), 1298);
  buttons->addWidget(testModule_);
  buttons->addWidget(reset_);
  buttons->addStretch(1);
  buttons->addWidget(testAll_);
  buttons->addWidget(help_);
  page->addLayout(buttons);

  connect(testModule_, &QPushButton::clicked, this, [this] {
    ReadControls();
    Session().TestModule(module_);
  });
  connect(testAll_, &QPushButton::clicked, this, [this] {
    ReadControls();
    Session().TestSettings();
  });
  connect(reset_, &QPushButton::clicked, this, &ModulePage::Reset);
  connect(help_, &QPushButton::clicked, this, [this] { Session().ShowHelp(kHelpTopic); });

  // The plug-in's controls are known only once the page shows (the library
  // may change until then).
  if (!IsPlugIn()) BuildRows();
}

void ModulePage::BuildRows() {
  BuildControlRows(rows_, group_, Controls(), IsSlideShow());
  for (int i = 0; i < kControlCount; ++i)
    if (rows_.rows[i].Exists()) ConnectRow(i);
  OrderTabs();
}

void ModulePage::ConnectRow(int i) {
  const ControlRow& row = rows_.rows[i];
  for (QSlider* slider : {row.value, row.low, row.high})
    connect(slider, &QSlider::valueChanged, this, &ModulePage::ReadTrackbars);
  connect(row.valueEdit, &QLineEdit::editingFinished, this, [this, i] { ReadEdit(i, Field::Value); });
  connect(row.lowEdit, &QLineEdit::editingFinished, this, [this, i] { ReadEdit(i, Field::RangeLo); });
  connect(row.highEdit, &QLineEdit::editingFinished, this, [this, i] { ReadEdit(i, Field::RangeHi); });
  connect(row.sense, &QSpinBox::valueChanged, this, [this, i](int sense) {
    Controls().sense[i] = sense;
    Dirty();
  });
  connect(row.source, &QComboBox::currentIndexChanged, this, &ModulePage::ReadSources);
}

// The keyboard goes through the page top to bottom, rows in control order.
void ModulePage::OrderTabs() {
  std::vector<QWidget*> order;
  if (file_) order.insert(order.end(), {file_, browse_});
  for (const ControlRow& row : rows_.rows)
    if (row.Exists())
      order.insert(order.end(),
                   {row.value, row.valueEdit, row.low, row.lowEdit, row.high, row.highEdit, row.sense, row.source});
  order.insert(order.end(), {pageStepper_, testModule_, reset_, testAll_, help_});
  for (size_t k = 1; k < order.size(); ++k) setTabOrder(order[k - 1], order[k]);
}

void ModulePage::RebuildPlugInRows() {
  DestroyControlRows(rows_);
  const bool installed = PlugInsInstalled();
  noPlugIns_->setVisible(!installed);
  group_->setVisible(installed);
  testModule_->setEnabled(installed);
  reset_->setEnabled(installed);
  if (installed) BuildRows();
}

void ModulePage::SetActive() {
  if (IsPlugIn()) RebuildPlugInRows();
  const QString name = QString::fromUtf8(Record().name ? Record().name : kModuleNames[module_]);
  testModule_->setText(QStringLiteral("Test %1 Settings").arg(name));
  reset_->setText(QStringLiteral("Reset %1 Controls").arg(name));
  group_->setTitle(QStringLiteral(" Current settings for the %1 module: ").arg(name));
  Layout();
}

void ModulePage::Layout() {
  ModuleSlot& record = Record();
  const int highest = HighestDefinedControl(record.controls);
  const uint32_t lastPage = highest < 0 ? 0 : static_cast<uint32_t>(highest / kControlsPerPage);
  // A plug-in with fewer controls than the one before would leave an empty page.
  if (record.settingsPage > lastPage) record.settingsPage = lastPage;
  LayoutControlRows(rows_, record.controls, record.settingsPage);
  if (file_) file_->setText(FieldText(record.path, sizeof record.path));
  const bool paged = highest >= kControlsPerPage;
  pageText_->setText(QStringLiteral("Page %1 of %2").arg(record.settingsPage + 1).arg(lastPage + 1));
  pageText_->setVisible(paged);
  pageStepper_->setVisible(paged);
}

void ModulePage::ReadTrackbars() {
  ControlBlock& c = Controls();
  for (int i = 0; i < kControlCount; ++i) {
    const ControlRow& row = rows_.rows[i];
    if (!c.defined[i] || !row.Exists()) continue;
    c.value[i] = row.value->value();
    c.rangeLo[i] = row.low->value();
    c.rangeHi[i] = row.high->value();
  }
  Dirty();
}

void ModulePage::ReadSources() {
  ControlBlock& c = Controls();
  for (int i = 0; i < kControlCount; ++i) {
    const ControlRow& row = rows_.rows[i];
    if (!c.defined[i] || !row.Exists()) continue;
    // A stored source the list does not offer stays as it is.
    if (row.source->currentIndex() >= 0) c.source[i] = row.source->currentIndex();
  }
  Layout();
  Dirty();
}

void ModulePage::ReadEdit(int i, Field field) {
  ControlBlock& c = Controls();
  const ControlRow& row = rows_.rows[i];
  bool changed = false;
  switch (field) {
    case Field::Value:
      c.value[i] = ReadEditValue(row.valueEdit, row.value, c.minValue[i], c.maxValue[i], c.value[i], &changed);
      break;
    case Field::RangeLo:
      c.rangeLo[i] = ReadEditValue(row.lowEdit, row.low, c.minValue[i], c.maxValue[i], c.rangeLo[i], &changed);
      break;
    case Field::RangeHi:
      c.rangeHi[i] = ReadEditValue(row.highEdit, row.high, c.minValue[i], c.maxValue[i], c.rangeHi[i], &changed);
      break;
  }
  if (changed) Dirty();
}

void ModulePage::ReadPathEdit() {
  ModuleSlot& record = Record();
  const QString before = FieldText(record.path, sizeof record.path);
  StoreText(record.path, sizeof record.path, file_->text());
  const QString after = FieldText(record.path, sizeof record.path);
  file_->setText(after);
  if (after != before) Dirty();
}

// A value typed but not yet left counts as well (OK or Apply by keyboard
// leaves the focus where it is). Edits of other rows hold what the state holds.
void ModulePage::ReadControls() {
  for (int i = 0; i < kControlCount; ++i) {
    const ControlRow& row = rows_.rows[i];
    if (!row.Exists()) continue;
    if (row.valueEdit->hasFocus()) ReadEdit(i, Field::Value);
    if (row.lowEdit->hasFocus()) ReadEdit(i, Field::RangeLo);
    if (row.highEdit->hasFocus()) ReadEdit(i, Field::RangeHi);
  }
  if (file_ && file_->hasFocus()) ReadPathEdit();
}

void ModulePage::StepPage(int change) {
  ModuleSlot& record = Record();
  const int highest = HighestDefinedControl(record.controls);
  const int64_t page = static_cast<int64_t>(record.settingsPage) - change;
  if (highest >= 0 && page >= 0 && page <= highest / kControlsPerPage)
    record.settingsPage = static_cast<uint32_t>(page);
  Layout();
}

void ModulePage::Browse() {
  ModuleSlot& record = Record();
  const QString before = FieldText(record.path, sizeof record.path);
  StoreText(record.path, sizeof record.path, ShowOpenBitmapDialog(this, before));
  const QString after = FieldText(record.path, sizeof record.path);
  file_->setText(after);
  if (after != before) Dirty();
}

void ModulePage::Reset() {
  ResetControls(module_);
  Layout();
  Dirty();
}

}  // namespace

ConfigPage* CreateModulePage(ConfigSession& session, int moduleIndex) { return new ModulePage(session, moduleIndex); }

}  // namespace fluxo::config
