// The saver window's procedure: creation, hot keys, the mouse filter and teardown.
#include <sys/stat.h>

#include <cstring>

#include "engine/module_registry.h"
#include "engine/overlay.h"
#include "engine/render_thread.h"
#include "engine/saver_window.h"
#include "engine/video_mode.h"
#include "palette/palette_engine.h"
#include "platform/system/saver_state.h"
#include "platform/system/tick_count.h"
#include "settings/active_value.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"
#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

constexpr uint32_t kSaverMajor = 3;
constexpr uint32_t kSaverMinor = 9;
constexpr uint32_t kSaverBuild = 990;

// A display file played with /S: "Active" points at the imported display for
// the run and is put back afterwards.
struct FileTest {
  bool running = false;
  ActiveValue previousActive;
};
FileTest g_fileTest;

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The display file is the fourth word when it names an existing file, else the third.
std::string DisplayFileOf(const std::vector<std::string>& words) {
  for (size_t index : {size_t{3}, size_t{2}})
    if (index < words.size() && IsRegularFile(words[index])) return words[index];
  return {};
}

void WriteActive(const char* name) {
  WriteSetting("Active", SettingsKeyName(), reg::kRegSz, name, static_cast<uint32_t>(std::strlen(name) + 1));
}

void StartFileTest(const SaverWindow& window) {
  std::string file = DisplayFileOf(window.CommandLine());
  if (file.empty() || !ImportDisplay(file.c_str(), kTestingDisplay)) return;
  g_fileTest.previousActive = ReadActiveValue();
  WriteActive(kTestingDisplay);
  g_fileTest.running = true;
}

// Puts "Active" back as it was before the file test, whatever its length.
void EndFileTest() {
  if (!g_fileTest.running) return;
  DeleteDisplay(kTestingDisplay);
  RestoreActiveValue(g_fileTest.previousActive);
  g_fileTest = {};
}

intptr_t OnCreate(SaverWindow& window) {
  BuildControlValueNames();
  StartFileTest(window);
  PublishVersion(kSaverMajor, kSaverMinor, kSaverBuild);
  StartOverlay();
  SoundFeedBlock* feed = OpenSoundFeed();
  if (!feed) {
    EndFileTest();
    return -1;
  }
  feed->AddI32(feed::kSaverCount, 1);
  feed->AddI32(feed::kAttachCount, 1);
  Saver().modeSwitched.store(SwitchVideoMode(window));
  Saver().createTime = GetTickCount();
  return 0;
}

void OnDestroy(SaverWindow& window) {
  SaverState& saver = Saver();
  saver.saverRunning.store(0);
  if (SoundFeedBlock* feed = SoundFeed()) {
    // Suspended threads could not see the stop; let them run to their end.
    saver.renderGate.Open();
    saver.paletteGate.Open();
    StopRenderThread();
    if (saver.modeSwitched.load()) RestoreVideoMode();
    EndFileTest();
    feed->AddI32(feed::kSaverCount, -1);
    feed->AddI32(feed::kAttachCount, -1);
    feed->SetU32(feed::kPaletteUsesSound, 0);
    feed->SetU32(feed::kModulesUseSound, 0);
    if (saver.fullScreen.load()) feed->AddI32(feed::kFullScreenCount, -1);
    CloseSoundFeed(feed);
  }
  if (saver.modeSwitched.load()) ReleaseVideoObjects();
  if (saver.fullScreen.load()) window.RedrawDesktop();
}

void OnEraseBackground(SaverWindow& window) {
  if (!RenderThreadExists() && SoundFeed()) StartRenderThread(&window);
}

bool PasswordProtected() {
  reg::Key key;
  if (reg::OpenKey(reg::Hive::CurrentUser, "Control Panel\\Desktop", key) != reg::kSuccess) return false;
  uint32_t value = 0, size = sizeof value, type = 0;
  return reg::QueryValue(key, "ScreenSaveUsePassword", &type, &value, &size) == reg::kSuccess && value != 0;
}

// Within the grace period no password is asked for: the window goes at once.
bool DestroyedWithinGrace(SaverWindow& window) {
  uint32_t graceEnd = Saver().startTime.load() + Main().graceSeconds * 1000u;
  if (TickIsPast(GetTickCount(), graceEnd) || !PasswordProtected()) return false;
  window.DestroyNow();
  return true;
}

intptr_t OnClose(SaverWindow& window, uintptr_t wParam, intptr_t lParam) {
  if (Saver().modeSwitched.load() && !Saver().inputSeen.load()) return 0;
  if (DestroyedWithinGrace(window)) return 0;
  return window.DefaultProc(SaverMessage::Close, wParam, lParam);
}

void ToggleSuspension(PauseGate& gate, int32_t& suspended) {
  if (suspended)
    gate.Open();
  else
    gate.Close();
  suspended = !suspended;
}

void BlackenAfterStop(SaverWindow& window) {
  if (!RenderThreadExists()) {
    window.InvalidateWithErase();
    return;
  }
  Saver().saverRunning.store(0);
  Saver().renderGate.Open();
  StopRenderThread();
  gdi::FrameSurface& surface = window.Surface();
  surface.SelectClipRegion(nullptr);
  surface.FillRect(surface.ClientRect(), gdi::Brush::StockBlack());
  surface.Flush();
}

// Returns true when the key was a hot key (consumed).
bool OnHotKey(SaverWindow& window, uint32_t key) {
  SaverState& saver = Saver();
  SoundFeedBlock* feed = SoundFeed();
  auto withFeed = [feed](auto change) {
    if (feed) change(*feed);
  };
  if (key >= vk::k0 && key <= vk::k9) {
    withFeed([key](SoundFeedBlock& f) { f.SetU16(feed::kDigitKey, static_cast<uint16_t>(key - vk::k0)); });
    return true;
  }
  switch (key) {
    case vk::kTab:
      SetActive(kModuleRandom, !IsActive(kModuleRandom));
      return true;
    case vk::kLeft:
      withFeed([](SoundFeedBlock& f) { f.AddI32(feed::kHorizontalStep, -1); });
      return true;
    case vk::kRight:
      withFeed([](SoundFeedBlock& f) { f.AddI32(feed::kHorizontalStep, 1); });
      return true;
    case vk::kUp:
      withFeed([](SoundFeedBlock& f) { f.AddI32(feed::kVerticalStep, 1); });
      return true;
    case vk::kDown:
      withFeed([](SoundFeedBlock& f) { f.AddI32(feed::kVerticalStep, -1); });
      return true;
    case vk::kAdd:
      Main().speed.fetch_add(1);
      return true;
    case vk::kSubtract:
      if (Main().speed.load() > 0) Main().speed.fetch_sub(1);
      return true;
    case vk::kDelete:
      window.Beep();
      BlackenAfterStop(window);
      return true;
    case vk::kF1:
      withFeed([](SoundFeedBlock& f) { f.SetU32(feed::kCaptureRequest, 1); });
      break;
    case vk::kF2:
      withFeed([](SoundFeedBlock& f) { f.SetU32(feed::kRestartRequest, 1); });
      break;
    case vk::kF3:
      WithCurrentPalette(UseCustomEffect);
      SetCaptureColours(true);
      withFeed([](SoundFeedBlock& f) { f.SetU32(feed::kCaptureRequest, 1); });
      break;
    case vk::kF4:
      WithCurrentPalette(ChangePatternsNow);
      break;
    case vk::kF5:
      ToggleSuspension(saver.paletteGate, saver.paletteSuspended);
      ToggleSuspension(saver.renderGate, saver.renderSuspended);
      break;
    case vk::kF6:
      ToggleSuspension(saver.renderGate, saver.renderSuspended);
      break;
    case vk::kF7:
      ToggleSuspension(saver.paletteGate, saver.paletteSuspended);
      break;
    case vk::kF8:
      WithCurrentPalette(ReverseDirection);
      break;
    case vk::kF9:
      saver.ignoreMouse.store(!saver.ignoreMouse.load());
      break;
    case vk::kF11:
      withFeed([](SoundFeedBlock& f) {
        if (f.U32(feed::kKeyStep) > 1) f.SetU32(feed::kKeyStep, f.U32(feed::kKeyStep) - 1);
      });
      break;
    case vk::kF12:
      withFeed([](SoundFeedBlock& f) {
        if (f.U32(feed::kKeyStep) < 20) f.SetU32(feed::kKeyStep, f.U32(feed::kKeyStep) + 1);
      });
      break;
    default:
      return false;  // F10 and every other key count as input
  }
  window.Beep();
  return true;
}

intptr_t OnMouseMove(SaverWindow& window, uintptr_t wParam, intptr_t lParam) {
  SaverState& saver = Saver();
  if (saver.ignoreMouse.load()) return 0;
  if (!saver.modeSwitched.load()) return window.DefaultProc(SaverMessage::MouseMove, wParam, lParam);
  // The mode switch produces spurious movement; tolerate some per 2-second window.
  uint32_t now = GetTickCount();
  if (now - saver.mouseWindowStart >= 2000) {
    saver.mouseWindowStart = now;
    saver.mouseCount = 0;
    return 0;
  }
  int32_t tolerated = 4;
  if (now - saver.createTime < 8000) {
    tolerated = 18;
  } else if (now - saver.createTime <= 8000) {
    return 0;
  }
  if (saver.mouseCount++ > tolerated) {
    saver.inputSeen.store(1);
    return window.DefaultProc(SaverMessage::MouseMove, wParam, lParam);
  }
  return 0;
}

intptr_t Dispatch(SaverWindow& window, SaverMessage message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case SaverMessage::Create:
      return OnCreate(window);
    case SaverMessage::Destroy:
      OnDestroy(window);
      return 0;
    case SaverMessage::Activate:
    case SaverMessage::ActivateApp:
      if ((wParam & 0xFFFF) == 0) return 0;  // losing activation never ends the saver
      break;
    case SaverMessage::Close:
      return OnClose(window, wParam, lParam);
    case SaverMessage::EraseBackground:
      OnEraseBackground(window);
      return 0;
    case SaverMessage::KeyDown:
      if (OnHotKey(window, static_cast<uint32_t>(wParam))) return 0;
      Saver().inputSeen.store(1);
      break;
    case SaverMessage::SysKeyDown:
    case SaverMessage::LeftButtonDown:
    case SaverMessage::RightButtonDown:
    case SaverMessage::MiddleButtonDown:
      Saver().inputSeen.store(1);
      break;
    case SaverMessage::MouseMove:
      return OnMouseMove(window, wParam, lParam);
  }
  return window.DefaultProc(message, wParam, lParam);
}

}  // namespace

intptr_t ScreenSaverProc(SaverWindow* window, SaverMessage message, uintptr_t wParam, intptr_t lParam) {
  try {
    return Dispatch(*window, message, wParam, lParam);
  } catch (...) {
    RecordException("ScreenSaverProc");
    window->PostQuit(43);
    return 0;
  }
}

}  // namespace fluxo
