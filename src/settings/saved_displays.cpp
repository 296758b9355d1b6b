#include "settings/saved_displays.h"

#include <atomic>

#include "sound/sound_feed.h"

namespace fluxo {
namespace {
std::atomic<bool> g_captureColours{false};
}

const char kSoundSettingsDisplay[] = "[R] Saved Sound Settings";
const char kTestingDisplay[] = "Testing Current Settings";

// No display store yet: nothing loads and nothing is created.
int LoadDisplay(const char*) { return 0; }

void SaveCurrentDisplay(const char*) {}

std::vector<std::string> ListDisplays(int* active) {
  if (active) *active = -1;
  return {};
}

bool DisplayHasModule(const char*, const char*) { return false; }

void CreatePresetDisplays() {}

void CreatePresetDisplay(int, const char*, int) {}

// Until displays can be stored a capture keeps nothing; the request is still
// answered so the render loop does not serve it again.
void CaptureDisplay() {
  if (SoundFeedBlock* feed = SoundFeed()) feed->SetU32(feed::kCaptureRequest, 0);
  g_captureColours.store(false);
}

void SetCaptureColours(bool on) { g_captureColours.store(on); }

bool CaptureColours() { return g_captureColours.load(); }

int DeleteDisplay(const char*) { return 0; }

int ImportDisplay(const char*, const char*) { return 0; }

}  // namespace fluxo
