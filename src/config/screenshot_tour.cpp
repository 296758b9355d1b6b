#include "config/screenshot_tour.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWindow>
#include <cstdio>

#include "config/config_sheet.h"
#include "config/page_table.h"

namespace fluxo::config {
namespace {

// On a real display: long enough for a page's preview child to start and
// draw a few frames. Elsewhere only the sheet's own widgets are pictured.
constexpr int kSettleWithPreviewMs = 1500;
constexpr int kSettleMs = 100;

bool OnRealDisplay() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

void Settle(int ms) {
  QDeadlineTimer deadline(ms);
  while (!deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// On a real display the screen's pixels hold what preview children draw into
// their panes; a widget grab only knows the sheet's own widgets.
QPixmap Picture(ConfigSheet& sheet) {
  if (OnRealDisplay())
    if (QScreen* screen = sheet.screen()) return screen->grabWindow(sheet.winId());
  return sheet.grab();
}

// "config-21-main-settings.png" for page 21.
QString ScreenshotFileName(int page) {
  QString title = QString::fromUtf8(kPages[page].title).toLower();
  for (QChar& c : title)
    if (!c.isLetterOrNumber()) c = '-';
  return QString("config-%1-%2.png").arg(page, 2, 10, QChar('0')).arg(title);
}

}  // namespace

QString ScreenshotFolder() { return qEnvironmentVariable("FLUXO_SCREENSHOTS"); }

int RunScreenshotTour(ConfigSheet& sheet, const QString& folder) {
  if (!QDir().mkpath(folder)) {
    std::fprintf(stderr, "fluxo: cannot create %s\n", qUtf8Printable(folder));
    return 1;
  }
  sheet.show();
  int status = 0;
  for (int page = 0; page < kPageCount; ++page) {
    sheet.ShowPage(page);
    Settle(OnRealDisplay() ? kSettleWithPreviewMs : kSettleMs);
    const QString path = QDir(folder).filePath(ScreenshotFileName(page));
    if (!Picture(sheet).save(path, "PNG")) {
      std::fprintf(stderr, "fluxo: cannot write %s\n", qUtf8Printable(path));
      status = 1;
    }
  }
  sheet.reject();
  return status;
}

}  // namespace fluxo::config
