#include "sound/sound_feed.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/shm/shared_memory.h"
#include "platform/system/folders.h"

namespace fluxo {
namespace {

constexpr uint16_t kSaverMajorVersion = 3;
constexpr uint16_t kSaverMinorVersion = 9;
constexpr uint16_t kSaverBuildNumber = 990;

// A block handed out by OpenSoundFeed: the view together with its mapping.
class FeedAttachment : public SoundFeedBlock {
 public:
  explicit FeedAttachment(std::unique_ptr<SharedMemory> memory)
      : SoundFeedBlock(memory->Data()), memory_(std::move(memory)) {}
  bool Existed() const { return memory_->Existed(); }

 private:
  std::unique_ptr<SharedMemory> memory_;
};

std::atomic<SoundFeedBlock*> g_feed{nullptr};
std::mutex g_errorMutex;
std::string g_error;

// A block that another process created a moment ago may not carry its stamp
// yet; give the creator a little time before judging the block.
void AwaitStamp(const SoundFeedBlock& block) {
  for (int step = 0; step < 50; ++step) {
    if (block.U32(feed::kBlockSize) != 0 || block.U32(feed::kLayoutVersion) != 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void SetError(std::string text) {
  std::lock_guard<std::mutex> lock(g_errorMutex);
  g_error = std::move(text);
}

}  // namespace

std::string SoundFeedBlock::Text(size_t offset, size_t capacity) const {
  std::string text;
  for (size_t i = 0; i < capacity; ++i) {
    char c = static_cast<char>(Byte(offset + i));
    if (c == '\0') break;
    text.push_back(c);
  }
  return text;
}

void SoundFeedBlock::SetText(size_t offset, size_t capacity, const std::string& text) {
  size_t length = text.size() < capacity ? text.size() : capacity - 1;
  for (size_t i = 0; i < capacity; ++i)
    SetByte(offset + i, i < length ? static_cast<uint8_t>(text[i]) : 0);
}

SoundFeedBlock* AttachSoundFeed() {
  std::string error;
  const std::string name = SharedMemoryName();
  std::unique_ptr<SharedMemory> memory = SharedMemory::CreateOrOpen(name, feed::kSize, &error);
  if (!memory) {
    SetError(error);
    return nullptr;
  }
  auto block = std::make_unique<FeedAttachment>(std::move(memory));
  if (block->Existed()) {
    AwaitStamp(*block);
    uint32_t size = block->U32(feed::kBlockSize);
    uint32_t layout = block->U32(feed::kLayoutVersion);
    if (size != feed::kSize || layout != feed::kLayout) {
      SetError("shared memory \"" + name + "\" has block size " + std::to_string(size) + " and layout " +
               std::to_string(layout) + ", expected " + std::to_string(feed::kSize) + " and " +
               std::to_string(feed::kLayout));
      return nullptr;
    }
  } else {
    for (size_t i = 0; i < feed::kSize; i += 2) block->SetU16(i, 0);
  }
  block->SetU32(feed::kLayoutVersion, feed::kLayout);
  block->SetU32(feed::kBlockSize, feed::kSize);
  SoundFeedBlock* result = block.release();
  g_feed.store(result, std::memory_order_release);
  return result;
}

SoundFeedBlock* OpenSoundFeed() {
  SoundFeedBlock* block = AttachSoundFeed();
  if (!block) return nullptr;
  block->SetU16(feed::kSaverMajor, kSaverMajorVersion);
  block->SetU16(feed::kSaverMinor, kSaverMinorVersion);
  block->SetU16(feed::kSaverBuild, kSaverBuildNumber);
  return block;
}

void CloseSoundFeed(SoundFeedBlock* block) {
  if (!block) return;
  SoundFeedBlock* expected = block;
  g_feed.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
  delete static_cast<FeedAttachment*>(block);
}

SoundFeedBlock* SoundFeed() { return g_feed.load(std::memory_order_acquire); }

std::string SoundFeedError() {
  std::lock_guard<std::mutex> lock(g_errorMutex);
  return g_error;
}

}  // namespace fluxo
