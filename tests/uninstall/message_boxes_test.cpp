#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/system/install_folders.h"
#include "uninstall/fake_installation.h"
#include "uninstall/message_box_prompts.h"

namespace fluxo::test {
namespace {

struct SeenBox {
  std::string title, text;
  QMessageBox::Icon icon;
  bool yesNo;
};

// Answers each message box as it comes up, in order, and notes what it showed.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::vector<QMessageBox::StandardButton> answers) : answers_(std::move(answers)) {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start();
  }
  std::vector<SeenBox> seen;

 private:
  void Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || seen.size() >= answers_.size()) return;
    const bool yesNo = box->button(QMessageBox::Yes) && box->button(QMessageBox::No);
    seen.push_back({box->windowTitle().toStdString(), box->text().toStdString(), box->icon(), yesNo});
    QAbstractButton* button = box->button(answers_[seen.size() - 1]);
    if (button) button->click();
  }
  std::vector<QMessageBox::StandardButton> answers_;
  QTimer timer_;
};

using UninstallMessageBoxTest = FakeInstallation;

TEST_F(UninstallMessageBoxTest, TheQuestionsAndTheNoticeSayWhatTheyShould) {
  BoxAnswerer answerer({QMessageBox::Yes, QMessageBox::No, QMessageBox::Ok});
  ASSERT_EQ(uninstall::RunUninstall(uninstall::MessageBoxPrompts()), 0);
  ASSERT_EQ(answerer.seen.size(), 3u);
  EXPECT_EQ(answerer.seen[0].title, "UnInstall");
  EXPECT_EQ(answerer.seen[0].text, "Are you sure you want to remove the Fluxonic Screen Saver from your system?");
  EXPECT_EQ(answerer.seen[0].icon, QMessageBox::Question);
  EXPECT_TRUE(answerer.seen[0].yesNo);
  EXPECT_EQ(answerer.seen[1].title, "UnInstall Kickoff");
  EXPECT_EQ(answerer.seen[1].text, "Do you wish to uninstall the taskbar screen saver launcher?");
  EXPECT_EQ(answerer.seen[1].icon, QMessageBox::Question);
  EXPECT_TRUE(answerer.seen[1].yesNo);
  EXPECT_EQ(answerer.seen[2].title, "UnInstall Complete");
  EXPECT_EQ(answerer.seen[2].text, "The Fluxonic Screen Saver has been removed.");
  EXPECT_EQ(answerer.seen[2].icon, QMessageBox::Information);
  // The launcher question was answered No: the launcher stays, the saver went.
  EXPECT_TRUE(Exists(launcher));
  EXPECT_FALSE(Exists(SystemFolder() + "/fluxo"));
}

TEST_F(UninstallMessageBoxTest, NoToTheFirstQuestionAsksNothingMore) {
  const auto files = Files();
  BoxAnswerer answerer({QMessageBox::No, QMessageBox::Ok});
  EXPECT_EQ(uninstall::RunUninstall(uninstall::MessageBoxPrompts()), 1);
  EXPECT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(Files(), files);
}

}  // namespace
}  // namespace fluxo::test
