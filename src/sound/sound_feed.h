#pragma once
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace fluxo {

// Byte offsets of the packed little-endian fields of the shared sound block.
namespace feed {
constexpr size_t kSize = 1046;
constexpr uint32_t kLayout = 6;
constexpr size_t kBlockSize = 0x000;
constexpr size_t kLayoutVersion = 0x004;
constexpr size_t kLeftLevel = 0x00C;
constexpr size_t kRightLevel = 0x010;
constexpr size_t kLevelScale = 0x014;
constexpr size_t kAutoLevelScale = 0x018;
constexpr size_t kKeyStep = 0x01C;
constexpr size_t kBandScale = 0x020;
constexpr size_t kLeftBands = 0x064;
constexpr size_t kRightBands = 0x0A4;
constexpr size_t kInfoText1 = 0x0EC;
constexpr size_t kInfoText2 = 0x12C;
constexpr size_t kInfoText3 = 0x16C;
constexpr size_t kInfoSerial = 0x1AC;
constexpr size_t kCompanionMajor = 0x1B8;
constexpr size_t kCompanionMinor = 0x1BA;
constexpr size_t kSaverMajor = 0x1BE;
constexpr size_t kSaverMinor = 0x1C0;
constexpr size_t kSaverBuild = 0x1C2;
constexpr size_t kSaverCount = 0x1CA;
constexpr size_t kPaletteUsesSound = 0x1CE;
constexpr size_t kModulesUseSound = 0x1D2;
constexpr size_t kPaletteSync = 0x1D6;
constexpr size_t kModuleSync = 0x1DA;
constexpr size_t kFullScreenCount = 0x1DE;
constexpr size_t kAutoGain = 0x1E2;
constexpr size_t kTurboMode = 0x2F0;
constexpr size_t kCompanionActive = 0x2F4;
constexpr size_t kAttachCount = 0x2F8;
constexpr size_t kDisplayName = 0x2FC;
constexpr size_t kRestartRequest = 0x400;
constexpr size_t kCaptureRequest = 0x404;
constexpr size_t kHorizontalStep = 0x408;
constexpr size_t kDigitKey = 0x40C;
constexpr size_t kVerticalStep = 0x40E;
constexpr size_t kCompanionQuit = 0x412;
}  // namespace feed

// A view of the mapped block. Fields are read and written byte by byte with
// relaxed atomics: the block is shared by threads and processes without locks,
// and several fields sit at unaligned offsets.
class SoundFeedBlock {
 public:
  explicit SoundFeedBlock(uint8_t* base) : base_(base) {}
  uint8_t* Base() const { return base_; }

  uint32_t U32(size_t offset) const {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | Byte(offset + i);
    return v;
  }
  void SetU32(size_t offset, uint32_t v) {
    for (int i = 0; i < 4; ++i) SetByte(offset + i, static_cast<uint8_t>(v >> (8 * i)));
  }
  int32_t I32(size_t offset) const { return static_cast<int32_t>(U32(offset)); }
  void SetI32(size_t offset, int32_t v) { SetU32(offset, static_cast<uint32_t>(v)); }
  uint16_t U16(size_t offset) const { return static_cast<uint16_t>(Byte(offset) | (Byte(offset + 1) << 8)); }
  void SetU16(size_t offset, uint16_t v) {
    SetByte(offset, static_cast<uint8_t>(v));
    SetByte(offset + 1, static_cast<uint8_t>(v >> 8));
  }
  float F32(size_t offset) const {
    uint32_t bits = U32(offset);
    float f;
    std::memcpy(&f, &bits, 4);
    return f;
  }
  void SetF32(size_t offset, float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    SetU32(offset, bits);
  }
  void AddI32(size_t offset, int32_t delta) { SetI32(offset, I32(offset) + delta); }
  std::string Text(size_t offset, size_t capacity) const;
  void SetText(size_t offset, size_t capacity, const std::string& text);

 private:
  uint8_t Byte(size_t offset) const { return std::atomic_ref<uint8_t>(base_[offset]).load(std::memory_order_relaxed); }
  void SetByte(size_t offset, uint8_t v) { std::atomic_ref<uint8_t>(base_[offset]).store(v, std::memory_order_relaxed); }
  uint8_t* base_;
};

// Attaches to (or creates) the shared block by the attach rules. Returns null
// when the block cannot be mapped or has another size or layout.
SoundFeedBlock* AttachSoundFeed();
// AttachSoundFeed, then writes the saver's version.
SoundFeedBlock* OpenSoundFeed();
void CloseSoundFeed(SoundFeedBlock* block);
// The process-wide attached block, or null.
SoundFeedBlock* SoundFeed();
// A share of the attached block (null when none): the mapping stays valid for
// its holder after CloseSoundFeed, until the last share is dropped.
std::shared_ptr<void> RetainSoundFeed();
// Why the last OpenSoundFeed failed, for the error message.
std::string SoundFeedError();

float SoundLevel(int source);  // 0..1 for sources 3..21
void HomeGain();
void ResetGainTrackers();      // back to the start-up values (tests)
uint32_t ReadCompanionVersion();
std::string SoundStatusText(); // the text ShowSoundStatus shows
// Starts the companion command. From the saver only in a full-screen window
// (window bottom equals the screen height). Returns true when a command was started.
bool LaunchCompanion(int windowBottom, int screenHeight, bool fromSaver);

}  // namespace fluxo
