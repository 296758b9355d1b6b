#include "settings/main_settings.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo {

const char kWinlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";

namespace {

constexpr char kGraceValue[] = "ScreenSaverGracePeriod";
constexpr uint32_t kGraceDefault = 6;  // the NT family's
constexpr uint32_t kGraceMax = 900;    // the page's range; also keeps seconds * 1000 within 32 bits

MainSettings g_main;

std::string RootPath() { return std::string("Control Panel\\") + SettingsKeyName(); }

// A number stored under the settings key: read through a 4-byte buffer
// whatever its type; nothing when missing or longer than 4 bytes.
std::optional<uint32_t> ReadNumber(const reg::Key& key, const char* name) {
  uint8_t bytes[4] = {};
  uint32_t size = sizeof bytes;
  if (reg::QueryValue(key, name, nullptr, bytes, &size) != reg::kSuccess) return std::nullopt;
  return DecodeNumber(bytes);
}

long WriteNumber(const reg::Key& key, const char* name, uint32_t value) {
  return reg::SetValue(key, name, reg::kRegBinary, EncodeNumber(value).data(), 4);
}

// The leading decimal number of a text ("15" -> 15, "abc" -> 0), capped so a
// long digit string cannot wrap.
uint32_t LeadingNumber(const char* text) {
  while (*text == ' ' || *text == '\t') ++text;
  uint32_t value = 0;
  for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
    value = value * 10 + static_cast<uint32_t>(*text - '0');
    if (value > kGraceMax) return kGraceMax;
  }
  return value;
}

void LoadRootValues(const reg::Key& root, MainSettings& m, SoundFeedBlock* feed) {
  SetOptionDefaults();
  auto read = [&](const char* name, uint32_t& field) {
    if (auto v = ReadNumber(root, name)) field = *v;
  };
  // "SlowCPU" and "AutoGain" live in the sound feed; without one they wait.
  auto readFeed = [&](const char* name, size_t offset) {
    if (!feed) return;
    if (auto v = ReadNumber(root, name)) feed->SetU32(offset, *v);
  };
  read("Priority", m.priority);
  read("Preview", m.preview);
  readFeed("SlowCPU", feed::kTurboMode);
  read("ShowInfo", m.showInfo);
  read("ShowName", m.showName);
  read("AutoRun", m.autoRun);
  readFeed("AutoGain", feed::kAutoGain);
  read("BlankTimeout", m.blankTimeout);
  read("HomingRate", m.homingRate);
}

uint32_t LoadGraceSeconds() {
  reg::Key winlogon;
  if (reg::OpenKey(reg::Hive::LocalMachine, kWinlogonKey, winlogon) != reg::kSuccess) return kGraceDefault;
  char text[33] = {};  // at most 32 bytes read, always terminated
  uint32_t size = 32;
  if (reg::QueryValue(winlogon, kGraceValue, nullptr, text, &size) != reg::kSuccess) return kGraceDefault;
  return LeadingNumber(text);
}

long SaveRootValues(const MainSettings& m, SoundFeedBlock* feed) {
  reg::Key root;
  if (long rc = reg::CreateKey(reg::Hive::CurrentUser, RootPath(), root); rc != reg::kSuccess) return rc;
  struct Entry {
    const char* name;
    std::optional<uint32_t> value;
  };
  const std::optional<uint32_t> turbo = feed ? std::optional(feed->U32(feed::kTurboMode)) : std::nullopt;
  const std::optional<uint32_t> autoGain = feed ? std::optional(feed->U32(feed::kAutoGain)) : std::nullopt;
  const Entry entries[] = {{"SlowCPU", turbo},         {"Priority", m.priority},         {"ShowInfo", m.showInfo},
                           {"ShowName", m.showName},   {"Preview", m.preview},           {"AutoRun", m.autoRun},
                           {"AutoGain", autoGain},     {"BlankTimeout", m.blankTimeout}, {"HomingRate", m.homingRate}};
  for (const Entry& e : entries)
    if (e.value)
      if (long rc = WriteNumber(root, e.name, *e.value); rc != reg::kSuccess) return rc;
  return reg::kSuccess;
}

void SaveGraceSeconds(uint32_t seconds) {
  reg::Key winlogon;
  if (reg::CreateKey(reg::Hive::LocalMachine, kWinlogonKey, winlogon) != reg::kSuccess) return;
  char text[16];
  std::snprintf(text, sizeof text, "%u", seconds);
  reg::SetValue(winlogon, kGraceValue, reg::kRegSz, text, static_cast<uint32_t>(std::strlen(text) + 1));
}

}  // namespace

MainSettings& Main() { return g_main; }

void SetOptionDefaults() {
  if (SoundFeedBlock* feed = SoundFeed())
    for (size_t offset : {feed::kTurboMode, feed::kPaletteSync, feed::kModuleSync, feed::kAutoGain})
      feed->SetU32(offset, 1);
  g_main.showInfo = 0;
  g_main.showName = 0;
  g_main.autoRun = 0;
  g_main.homingRate = 1000;
}

void ResetMainSettings() {
  MainSettings& m = g_main;
  m.priority = 64;
  m.showInfo = 0;
  m.showName = 0;
  m.preview = 1;
  m.autoRun = 0;
  m.blankTimeout = 241;
  m.homingRate = 1000;
  m.graceSeconds = kGraceDefault;
  m.clearFirst = 1;
  m.speed.store(0);
}

void LoadMainSettings() {
  MainSettings& m = g_main;
  reg::Key root;
  if (reg::OpenKey(reg::Hive::CurrentUser, RootPath(), root) == reg::kSuccess) LoadRootValues(root, m, SoundFeed());
  m.graceSeconds = LoadGraceSeconds();
  uint8_t speed[4];
  ReadSetting("Speed", SettingsKeyName(), reg::kRegBinary, speed, sizeof speed);
  m.speed.store(DecodeNumber(speed));
}

int SaveMainSettings() {
  const MainSettings& m = g_main;
  // One transaction: a page's settings land together or not at all.
  long rc = reg::InTransaction([&] {
    if (long err = SaveRootValues(m, SoundFeed()); err != reg::kSuccess) return err;
    SaveGraceSeconds(m.graceSeconds);  // the machine key may be out of reach; that is ignored
    const auto speed = EncodeNumber(m.speed.load());
    return WriteSetting("Speed", SettingsKeyName(), reg::kRegBinary, speed.data(), 4) ? reg::kSuccess
                                                                                     : reg::kErrorRegistryIoFailed;
  });
  return rc == reg::kSuccess;
}

}  // namespace fluxo
