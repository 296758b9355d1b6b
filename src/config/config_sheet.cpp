#include "config/config_sheet.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "config/config_page.h"
#include "config/page_icons.h"
#include "platform/system/program_version.h"
#include "sound/sound_feed.h"

namespace fluxo::config {

namespace {
constexpr int kSheetIcon = 102;
constexpr int kListIconSize = 20;
constexpr QSize kPreferredSize(920, 680);
}  // namespace

ConfigSheet::ConfigSheet(QWidget* parent, PageMaker makePage) : QDialog(parent), makePage_(std::move(makePage)) {
  setWindowTitle(Caption(SoundFeed()));
  setWindowIcon(PageIcon(kSheetIcon));

  list_ = new QListWidget;
  list_->setObjectName("pageList");
  list_->setIconSize(QSize(kListIconSize, kListIconSize));
  for (const PageEntry& entry : kPages) {
    auto* item = new QListWidgetItem(PageIcon(entry.iconId), entry.title, list_);
    item->setData(Qt::UserRole, entry.iconId);
  }
  // Wide enough for the longest title even when the list has to scroll.
  list_->setFixedWidth(list_->sizeHintForColumn(0) + 2 * list_->frameWidth() +
                       list_->verticalScrollBar()->sizeHint().width() + 8);

  // The title of the page shown, as a tab would carry it.
  title_ = new QLabel;
  title_->setObjectName("pageTitle");
  QFont titleFont = title_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
  title_->setFont(titleFont);

  stack_ = new QStackedWidget;
  scroll_ = new QScrollArea;
  scroll_->setWidget(stack_);
  scroll_->setWidgetResizable(true);
  scroll_->setFrameShape(QFrame::NoFrame);
  scroll_->setFocusPolicy(Qt::NoFocus);  // Tab goes from the list straight into the page

  buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply);
  connect(buttons_, &QDialogButtonBox::accepted, this, &ConfigSheet::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &ConfigSheet::reject);
  connect(buttons_->button(QDialogButtonBox::Apply), &QPushButton::clicked, this, &ConfigSheet::ApplyPages);

  auto* pageArea = new QVBoxLayout;
  pageArea->addWidget(title_);
  pageArea->addWidget(scroll_, 1);
  auto* body = new QHBoxLayout;
  body->addWidget(list_);
  body->addLayout(pageArea, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addWidget(buttons_);

  // The arrow keys move the list's current row, and with it the page.
  connect(list_, &QListWidget::currentRowChanged, this, &ConfigSheet::ShowPage);
  list_->setCurrentRow(kStartPage);
  list_->setFocus();
  resize(sizeHint().expandedTo(kPreferredSize));
}

ConfigSheet::~ConfigSheet() {
  // The pages go before the session they hold; a preview they run stops with them.
  delete scroll_->takeWidget();
}

void ConfigSheet::ShowPage(int index) {
  if (index < 0 || index >= kPageCount || index == current_) return;
  if (current_ >= 0) pages_[current_]->KillActive();
  if (!pages_[index]) {
    pages_[index] = makePage_(kPages[index], session_);
    stack_->addWidget(pages_[index]);
    PlaceInTabOrder(pages_[index]);
  }
  current_ = index;
  stack_->setCurrentWidget(pages_[index]);
  title_->setText(kPages[index].title);
  if (list_->currentRow() != index) list_->setCurrentRow(index);
  pages_[index]->SetActive();
}

void ConfigSheet::PlaceInTabOrder(ConfigPage* page) {
  // A page made now joined the focus chain after the buttons; Tab from the
  // list is to reach it first, in the page's own order.
  QWidget* previous = list_;
  for (QWidget* w = page->nextInFocusChain(); w != page && page->isAncestorOf(w);) {
    QWidget* next = w->nextInFocusChain();
    if (w->focusPolicy() & Qt::TabFocus) {
      QWidget::setTabOrder(previous, w);
      previous = w;
    }
    w = next;
  }
}

void ConfigSheet::ApplyPages() {
  for (ConfigPage* page : pages_)
    if (page) page->Apply();
}

void ConfigSheet::accept() {
  ApplyPages();
  QDialog::accept();
}

void ConfigSheet::reject() {
  for (ConfigPage* page : pages_)
    if (page) page->QueryCancel();
  QDialog::reject();
}

QString ConfigSheet::Caption(const SoundFeedBlock* feed) {
  QString caption = QString::asprintf("Fluxo v%d.%d.%d", kProgramMajor, kProgramMinor, kProgramBuild);
  if (feed && feed->U16(feed::kCompanionMajor) != 0) {
    caption = QString::asprintf("%s w/Tonewell v%d.%d", qUtf8Printable(caption), feed->U16(feed::kCompanionMajor),
                                feed->U16(feed::kCompanionMinor));
  }
  return caption;
}

}  // namespace fluxo::config
