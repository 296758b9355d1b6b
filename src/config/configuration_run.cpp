#include "config/configuration_run.h"

#include <QApplication>
#include <cstdio>
#include <memory>

#include "config/config_sheet.h"
#include "config/screenshot_tour.h"
#include "engine/module_registry.h"
#include "engine/overlay.h"
#include "host/foreign_window.h"
#include "host/termination_signals.h"
#include "palette/palette_engine.h"
#include "platform/system/program_version.h"
#include "platform/system/saver_state.h"
#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo::config {
namespace {

bool g_ran = false;
bool g_settingsExisted = false;

// The sheet stays above the window that asked for it (/c:<id>), when that is
// a window of the display.
std::unique_ptr<QWindow> AttachToOwner(ConfigSheet& sheet, uint64_t ownerWindow) {
  if (ownerWindow == 0 || !ForeignWindowSize(ownerWindow)) return nullptr;
  std::unique_ptr<QWindow> owner = WrapForeignWindow(ownerWindow);
  if (!owner) return nullptr;
  sheet.winId();  // makes the sheet's own window
  sheet.windowHandle()->setTransientParent(owner.get());
  return owner;
}

int RunSheet(uint64_t ownerWindow, SoundFeedBlock& feed) {
  ConfigSheet sheet;
  std::unique_ptr<QWindow> owner = AttachToOwner(sheet, ownerWindow);
  // Told to stop, the sheet closes as by "Cancel": previews and test runs end with it.
  TerminationWatch termination([&sheet] { sheet.reject(); });
  // Counted as a client of the feed while the sheet is up.
  feed.AddI32(feed::kAttachCount, 1);
  const QString screenshots = ScreenshotFolder();
  int status = 0;
  if (screenshots.isEmpty())
    sheet.exec();
  else
    status = RunScreenshotTour(sheet, screenshots);
  feed.AddI32(feed::kAttachCount, -1);
  return status;
}

}  // namespace

bool SettingsExistedAtStart() { return g_settingsExisted; }

int RunConfiguration(int argc, char** argv, uint64_t ownerWindow) {
  if (g_ran) return 1;
  g_ran = true;
  ClearModuleTable();
  BuildControlValueNames();
  g_settingsExisted = RootExists(SettingsKeyName()) != 0;

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Fluxo"));

  // The dialog draws no animation itself: the engine holds the palette state
  // the pages edit, without a device.
  PaletteState* palette = CreatePaletteEngine(nullptr);
  if (!palette) {
    // The palette pages edit it; without it there is nothing to show.
    std::fprintf(stderr, "fluxo: not enough memory for the palette engine\n");
    return 1;
  }
  StartOverlay();
  SoundFeedBlock* feed = OpenSoundFeed();
  if (!feed) {
    std::fprintf(stderr, "fluxo: cannot attach to the sound feed: %s\n", SoundFeedError().c_str());
    DestroyPaletteEngine(palette);
    return 1;
  }
  // Display loading keeps sound sources even without the companion running.
  Saver().configurationRun = true;
  PublishVersion(kProgramMajor, kProgramMinor, kProgramBuild);
  InitialiseModuleRegistry();

  const int status = RunSheet(ownerWindow, *feed);

  DestroyPaletteEngine(palette);
  CloseSoundFeed(feed);
  Saver().configurationRun = false;
  return status;
}

}  // namespace fluxo::config
