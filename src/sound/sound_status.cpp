#include <cstdio>

#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo {
namespace {

constexpr uint32_t kCompatibleMajor = 3;
constexpr uint32_t kCompatibleMinor = 3;
constexpr int kSaverMajor = 3;
constexpr int kSaverMinor = 9;

}  // namespace

uint32_t ReadCompanionVersion() { return ReadDword(reg::Hive::CurrentUser, "Software\\Tonewell", "Current Version"); }

std::string SoundStatusText() {
  const uint32_t version = ReadCompanionVersion();
  if (version == 0) return "Tonewell has not been installed -- sound synchronization is unavaliable!";
  const uint32_t major = version >> 16;
  const uint32_t minor = version & 0xFFFF;
  if (major == kCompatibleMajor && minor == kCompatibleMinor) {
    SoundFeedBlock* feed = SoundFeed();
    if (!feed || feed->U32(feed::kCompanionActive) == 0)
      return "Tonewell must be running in order for sound synchronization to function.";
    return "The present versions of The Fluxonic Screen Saver and Tonewell will function together to provide sound "
           "synchronization.";
  }
  char text[256];
  std::snprintf(text, sizeof text,
                "You are running version %d.%d of Tonewell.  This version is not fully compatible with version %d.%d "
                "of The Fluxonic Screen Saver.  Please download the latest versions of both packages.",
                static_cast<int>(major), static_cast<int>(minor), kSaverMajor, kSaverMinor);
  return text;
}

}  // namespace fluxo
