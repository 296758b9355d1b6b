// The host's part in video modes: only the saver's own full-screen windows
// may change the mode, a window placed for a new mode draws at that size, and
// without an X display the XRandR switcher switches nothing.
#include <gtest/gtest.h>

#include <QTimer>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "host/saver_host_window.h"
#include "platform/system/screen_modes.h"

namespace fluxo {
namespace {

struct CreateSeen {
  bool ownsScreen = false;
};
std::optional<CreateSeen> g_create;

// At creation, does what a successful mode switch does to the window.
intptr_t SwitchingProc(SaverWindow* window, SaverMessage message, uintptr_t wParam, intptr_t lParam) {
  if (message == SaverMessage::Create) {
    g_create = CreateSeen{window->OwnsScreen()};
    if (window->OwnsScreen()) window->PlaceAtOrigin(320, 200);
    return 0;
  }
  return window->DefaultProc(message, wParam, lParam);
}

std::unique_ptr<SaverHostWindow> StartWindow(SaverMode mode) {
  g_create.reset();
  SaverSwitches switches;
  switches.mode = mode;
  auto window = std::make_unique<SaverHostWindow>(switches, &SwitchingProc, std::vector<std::string>{"fluxo"});
  EXPECT_EQ(window->Start(), SaverHostWindow::StartResult::Started);
  return window;
}

void EndWindow(SaverHostWindow& window) {
  QTimer::singleShot(0, [&window] { window.PostQuit(0); });
  window.Exec();
}

TEST(HostVideoModeTest, FullScreenWindowsFollowTheNewModeAndDrawAtItsSize) {
  for (const SaverMode mode : {SaverMode::FullScreen, SaverMode::PlayFile}) {
    auto window = StartWindow(mode);
    ASSERT_TRUE(g_create.has_value());
    EXPECT_TRUE(g_create->ownsScreen);
    // Showing full screen fits the window to the screen, which by then has
    // the new mode (checked on a real X display by the video mode script).
    EXPECT_EQ(window->Surface().Width(), 320);
    EXPECT_EQ(window->Surface().Height(), 200);
    EndWindow(*window);
  }
}

TEST(HostVideoModeTest, NormalWindowNeverChangesTheMode) {
  auto window = StartWindow(SaverMode::Window);
  ASSERT_TRUE(g_create.has_value());
  EXPECT_FALSE(g_create->ownsScreen);
  EXPECT_NE(window->Surface().Width(), 320);
  EndWindow(*window);
}

TEST(HostVideoModeTest, XRandRWithoutADisplaySwitchesNothing) {
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  unsetenv("DISPLAY");
  auto switcher = MakeXRandRSwitcher();
  EXPECT_FALSE(switcher->Open());
  EXPECT_TRUE(switcher->Modes().empty());
  EXPECT_FALSE(switcher->SetMode(800, 600));
  EXPECT_TRUE(switcher->RestoreMode()) << "nothing was switched, so nothing is left to restore";
  if (display) setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
}  // namespace fluxo
