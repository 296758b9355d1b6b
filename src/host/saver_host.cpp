#include "host/saver_host.h"

#include <QGuiApplication>
#include <cstdio>
#include <string>
#include <vector>

#include "host/saver_host_window.h"
#include "host/termination_signals.h"
#include "platform/system/startup_trace.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

constexpr int kUsageError = 2;
constexpr int kStartFailed = 1;

int Fail(int status, const std::string& message) {
  std::fprintf(stderr, "fluxo: %s\n", message.c_str());
  return status;
}

}  // namespace

int RunSaverHost(const SaverSwitches& switches, int argc, char** argv) {
  if (switches.mode == SaverMode::Configure) {
    return Fail(kUsageError, "the configuration dialog does not run in the saver host");
  }

  // The driver reads the command line as it was given, before Qt takes its options.
  std::vector<std::string> words(argv, argv + argc);
  // No widgets here: a plain GUI application starts sooner and takes less memory.
  QGuiApplication application(argc, argv);
  QGuiApplication::setApplicationName(QStringLiteral("Fluxo"));
  QGuiApplication::setQuitOnLastWindowClosed(false);
  TraceStartup("Qt application ready");

  SaverHostWindow window(switches, &ScreenSaverProc, std::move(words));
  TerminationWatch termination([&window] { window.DestroyNow(); });
  TraceStartup("window created");
  switch (window.Start()) {
    case SaverHostWindow::StartResult::NoParentWindow:
      return Fail(kStartFailed, "cannot embed into window 0x" + QString::number(switches.windowId, 16).toStdString() +
                                    ": no such window");
    case SaverHostWindow::StartResult::CreateRefused:
      return Fail(kStartFailed, "cannot attach to the sound feed: " + SoundFeedError());
    case SaverHostWindow::StartResult::Started:
      break;
  }
  return window.Exec();
}

}  // namespace fluxo
