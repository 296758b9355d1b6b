#include "config/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QUrl>

#include "platform/system/folders.h"

namespace fluxo::config {
namespace {

constexpr int kFirstTopic = 512;
const char* const kTopicNames[] = {
    "Sound Settings",           // 512
    "Main Settings",            // 513
    "Palette Settings",         // 514
    "Video Mode Settings",      // 515
    "Custom Palette Settings",  // 516
    "Auxiliary Settings",       // 517
    "Edit Displays",            // 518
    "Module Settings",          // 519
};
constexpr int kTopicCount = sizeof kTopicNames / sizeof kTopicNames[0];
const char kIndexPage[] = "index.html";
// A help page is small; anything bigger is not one of ours.
constexpr qint64 kLargestPage = 1 << 20;

// The keywords a page carries: <meta name="keywords" content="a; b">.
QStringList PageKeywords(const QString& path) {
  QFile file(path);
  if (file.size() > kLargestPage || !file.open(QIODevice::ReadOnly)) return {};
  static const QRegularExpression meta(R"re(<meta\s+name\s*=\s*"keywords"\s+content\s*=\s*"([^"]*)")re",
                                       QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch match = meta.match(QString::fromUtf8(file.readAll()));
  if (!match.hasMatch()) return {};
  QStringList keywords = match.captured(1).split(';', Qt::SkipEmptyParts);
  for (QString& keyword : keywords) keyword = keyword.trimmed();
  return keywords;
}

QTextBrowser* MakeWindow() {
  auto* browser = new QTextBrowser;
  browser->setAttribute(Qt::WA_DeleteOnClose);
  browser->setObjectName("helpWindow");
  browser->setWindowTitle("Fluxo Help");
  browser->setOpenExternalLinks(true);
  browser->resize(640, 560);
  return browser;
}

}  // namespace

QString HelpWindow::Keyword(int topic) {
  if (topic < kFirstTopic || topic >= kFirstTopic + kTopicCount) return {};
  return QString("The Fluxonic Screen Saver - ") + kTopicNames[topic - kFirstTopic];
}

QString HelpWindow::FindHelpFolder(const QString& programFolder) {
  const QString candidates[] = {
      QString::fromStdString(WindowsFolder()) + "/help",
      programFolder + "/../share/fluxo/help",
      programFolder + "/../docs/help",
  };
  for (const QString& candidate : candidates) {
    const QString folder = QDir::cleanPath(candidate);
    if (QFile::exists(folder + '/' + kIndexPage)) return folder;
  }
  return {};
}

QString HelpWindow::PageFor(int topic, const QString& folder) {
  const QString keyword = Keyword(topic);
  const QDir dir(folder);
  if (!keyword.isEmpty()) {
    for (const QString& name : dir.entryList({"*.html"}, QDir::Files, QDir::Name))
      if (PageKeywords(dir.filePath(name)).contains(keyword, Qt::CaseInsensitive)) return dir.filePath(name);
  }
  return dir.filePath(kIndexPage);
}

void HelpWindow::Show(int topic) {
  static QPointer<QTextBrowser> window;
  if (!window) window = MakeWindow();
  const QString folder = FindHelpFolder(QCoreApplication::applicationDirPath());
  if (folder.isEmpty()) {
    window->setHtml("<h2>Fluxo Help</h2><p>The help pages are not installed.</p>");
  } else {
    window->setSearchPaths({folder});
    window->setSource(QUrl::fromLocalFile(PageFor(topic, folder)));
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace fluxo::config
