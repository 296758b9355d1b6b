#pragma once
#include <QDialog>
#include <QString>
#include <array>
#include <functional>

#include "config/config_session.h"
#include "config/page_table.h"

class QDialogButtonBox;
class QLabel;
class QListWidget;
class QScrollArea;
class QStackedWidget;

namespace fluxo {
class SoundFeedBlock;
}

namespace fluxo::config {

class ConfigPage;

// The configuration sheet: the page list with icons beside one page area.
// A page is made the first time it is shown; SetActive runs at every
// showing and KillActive when another page is chosen. "OK" applies every
// page made so far and closes, "Apply" does the same without closing, and
// "Cancel" or closing the window lets every made page cancel.
class ConfigSheet : public QDialog {
  Q_OBJECT
 public:
  // Tests hand in their own page maker.
  using PageMaker = std::function<ConfigPage*(const PageEntry&, ConfigSession&)>;
  explicit ConfigSheet(QWidget* parent = nullptr, PageMaker makePage = CreatePage);
  ~ConfigSheet() override;

  ConfigSession& Session() { return session_; }
  int CurrentPage() const { return current_; }
  // Null while the page has not been shown yet.
  ConfigPage* Page(int index) const { return pages_[index]; }
  void ShowPage(int index);
  // Apply on every page made so far.
  void ApplyPages();

  // "Fluxo v3.9.990", with " w/Tonewell vM.m" when the companion has put its
  // version into the feed.
  static QString Caption(const SoundFeedBlock* feed);

 public Q_SLOTS:
  void accept() override;
  void reject() override;

 private:
  void PlaceInTabOrder(ConfigPage* page);

  // Declared first, so that it outlives the pages, which hold it.
  ConfigSession session_;
  QListWidget* list_ = nullptr;
  QLabel* title_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  PageMaker makePage_;
  std::array<ConfigPage*, kPageCount> pages_{};
  int current_ = -1;
};

}  // namespace fluxo::config
