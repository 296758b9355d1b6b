#include "sound/sound_feed.h"

#include <memory>
#include <mutex>
#include <vector>

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

 private:
  std::unique_ptr<SharedMemory> memory_;
};

// The latest attached block is the process's feed: SoundFeed() hands out the
// plain pointer, and threads that may outlive the detach hold a share of it.
std::atomic<SoundFeedBlock*> g_feed{nullptr};
std::mutex g_attachmentMutex;
std::vector<std::shared_ptr<FeedAttachment>> g_attachments;
std::mutex g_errorMutex;
std::string g_error;

// Runs while no other process attaches or detaches: a block is stamped before
// anyone else can see it, and one left by dead processes starts from zero.
bool AcceptBlock(uint8_t* data, SharedMemory::Found found, const std::string& name, std::string* error) {
  SoundFeedBlock block(data);
  if (found != SharedMemory::Found::Created) {
    uint32_t size = block.U32(feed::kBlockSize);
    uint32_t layout = block.U32(feed::kLayoutVersion);
    if (size != feed::kSize || layout != feed::kLayout) {
      *error = "shared memory \"" + name + "\" has block size " + std::to_string(size) + " and layout " +
               std::to_string(layout) + ", expected " + std::to_string(feed::kSize) + " and " +
               std::to_string(feed::kLayout);
      return false;
    }
  }
  if (found != SharedMemory::Found::Live)
    for (size_t i = 0; i < feed::kSize; i += 2) block.SetU16(i, 0);
  block.SetU32(feed::kLayoutVersion, feed::kLayout);
  block.SetU32(feed::kBlockSize, feed::kSize);
  return true;
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
  if (name.empty()) {
    SetError("FLUXO_SHM_NAME is set but empty; unset it for the default block or give a name such as /FluxoTest");
    return nullptr;
  }
  std::unique_ptr<SharedMemory> memory = SharedMemory::Attach(
      name, feed::kSize,
      [&name](uint8_t* data, SharedMemory::Found found, std::string* why) {
        return AcceptBlock(data, found, name, why);
      },
      &error);
  if (!memory) {
    SetError(error);
    return nullptr;
  }
  auto attachment = std::make_shared<FeedAttachment>(std::move(memory));
  std::lock_guard lock(g_attachmentMutex);
  g_attachments.push_back(attachment);
  g_feed.store(attachment.get(), std::memory_order_release);
  return attachment.get();
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
  std::lock_guard lock(g_attachmentMutex);
  SoundFeedBlock* expected = block;
  g_feed.compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
  // The mapping goes with the last share.
  std::erase_if(g_attachments, [block](const auto& attachment) { return attachment.get() == block; });
}

std::shared_ptr<void> RetainSoundFeed() {
  std::lock_guard lock(g_attachmentMutex);
  SoundFeedBlock* current = g_feed.load(std::memory_order_acquire);
  for (const auto& attachment : g_attachments)
    if (attachment.get() == current) return attachment;
  return nullptr;
}

SoundFeedBlock* SoundFeed() { return g_feed.load(std::memory_order_acquire); }

std::string SoundFeedError() {
  std::lock_guard<std::mutex> lock(g_errorMutex);
  return g_error;
}

}  // namespace fluxo
