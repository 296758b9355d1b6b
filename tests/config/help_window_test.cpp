#include "config/help_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QTextBrowser>

#include "platform/system/folders.h"
#include "support/test_environment.h"

QT_BEGIN_NAMESPACE
// Readable failures.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
QT_END_NAMESPACE

namespace fluxo::test {
namespace {

using config::HelpWindow;

const QString kSourceHelp = QString(FLUXO_BINARY_DIR) + "/../docs/help";

void WritePage(const QString& path, const QString& keywords) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(("<html><head><meta name=\"keywords\" content=\"" + keywords +
              "\"><title>x</title></head>"
              "<body>" +
              QFileInfo(path).fileName() + "</body></html>")
                 .toUtf8());
}

QTextBrowser* OpenHelpWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->objectName() == "helpWindow" && widget->isVisible()) return qobject_cast<QTextBrowser*>(widget);
  return nullptr;
}

class HelpWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = QString::fromStdString(TestHome()) + "/help-test";
    QDir(folder).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder));
  }
  void TearDown() override { QDir(folder).removeRecursively(); }

  QString folder;
};

TEST_F(HelpWindowTest, TopicsAreFoundByTheKeywordsThePagesCarry) {
  WritePage(folder + "/index.html", "The Fluxonic Screen Saver");
  // The file names say nothing: only the keywords count.
  WritePage(folder + "/a.html", "The Fluxonic Screen Saver - Sound Settings");
  WritePage(folder + "/b.html", "Something; The Fluxonic Screen Saver - Main Settings ;Else");
  WritePage(folder + "/c.html", "The Fluxonic Screen Saver - Main Settings Extra");
  EXPECT_EQ(HelpWindow::PageFor(512, folder), folder + "/a.html");
  EXPECT_EQ(HelpWindow::PageFor(513, folder), folder + "/b.html");
  // Topics without a page of their own and ids that are no topic open the index.
  EXPECT_EQ(HelpWindow::PageFor(514, folder), folder + "/index.html");
  EXPECT_EQ(HelpWindow::PageFor(0, folder), folder + "/index.html");
  EXPECT_EQ(HelpWindow::PageFor(520, folder), folder + "/index.html");
  EXPECT_EQ(HelpWindow::PageFor(511, folder), folder + "/index.html");
}

TEST_F(HelpWindowTest, EveryTopicHasItsOwnPageInTheWrittenHelp) {
  ASSERT_TRUE(QFile::exists(kSourceHelp + "/index.html"));
  QStringList pages;
  for (int topic = 512; topic <= 519; ++topic) {
    const QString page = HelpWindow::PageFor(topic, kSourceHelp);
    EXPECT_FALSE(page.endsWith("/index.html")) << HelpWindow::Keyword(topic).toStdString();
    pages << page;
  }
  pages.removeDuplicates();
  EXPECT_EQ(pages.size(), 8);
  EXPECT_EQ(HelpWindow::Keyword(518), "The Fluxonic Screen Saver - Edit Displays");
  EXPECT_TRUE(HelpWindow::Keyword(520).isEmpty());
}

TEST_F(HelpWindowTest, InstalledPagesComeFirstThenThePackageThenTheSourceTree) {
  const QString program = folder + "/prefix/bin";
  const QString installed = QString::fromStdString(WindowsFolder()) + "/help";
  QDir(installed).removeRecursively();
  EXPECT_TRUE(HelpWindow::FindHelpFolder(program).isEmpty());

  ASSERT_TRUE(QDir().mkpath(folder + "/prefix/docs/help"));
  WritePage(folder + "/prefix/docs/help/index.html", "");
  EXPECT_EQ(HelpWindow::FindHelpFolder(program), folder + "/prefix/docs/help");

  ASSERT_TRUE(QDir().mkpath(folder + "/prefix/share/fluxo/help"));
  WritePage(folder + "/prefix/share/fluxo/help/index.html", "");
  EXPECT_EQ(HelpWindow::FindHelpFolder(program), folder + "/prefix/share/fluxo/help");

  ASSERT_TRUE(QDir().mkpath(installed));
  WritePage(installed + "/index.html", "");
  EXPECT_EQ(HelpWindow::FindHelpFolder(program), QDir::cleanPath(installed));
  QDir(installed).removeRecursively();
}

TEST_F(HelpWindowTest, ShowOpensOneWindowAtTheTopicsPage) {
  const QString installed = QString::fromStdString(WindowsFolder()) + "/help";
  ASSERT_TRUE(QDir().mkpath(installed));
  WritePage(installed + "/index.html", "The Fluxonic Screen Saver");
  WritePage(installed + "/display-page.html", "The Fluxonic Screen Saver - Edit Displays");

  HelpWindow::Show(518);
  QTextBrowser* window = OpenHelpWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->source().fileName(), "display-page.html");
  HelpWindow::Show(1234);
  EXPECT_EQ(OpenHelpWindow(), window) << "a second window was opened";
  EXPECT_EQ(window->source().fileName(), "index.html");
  window->close();
  QDir(installed).removeRecursively();
}

}  // namespace
}  // namespace fluxo::test
