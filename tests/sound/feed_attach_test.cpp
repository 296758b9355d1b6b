#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/system/folders.h"
#include "sound/feed_fixture.h"

namespace fluxo {
namespace {

// A block written by some other program, kept mapped like a peer would.
class ForeignBlock {
 public:
  ForeignBlock(size_t size, uint32_t blockSize, uint32_t layout) : size_(size) {
    shm_unlink(SharedMemoryName().c_str());
    int fd = shm_open(SharedMemoryName().c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(ftruncate(fd, static_cast<off_t>(size)), 0);
    data_ = static_cast<uint8_t*>(mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
    close(fd);
    for (size_t i = 0; i < size; ++i) data_[i] = static_cast<uint8_t>(i * 7 + 3);
    std::memcpy(data_, &blockSize, 4);
    std::memcpy(data_ + 4, &layout, 4);
  }
  ~ForeignBlock() {
    munmap(data_, size_);
    shm_unlink(SharedMemoryName().c_str());
  }
  std::vector<uint8_t> Contents() const { return std::vector<uint8_t>(data_, data_ + size_); }
  off_t ObjectSize() const {
    int fd = shm_open(SharedMemoryName().c_str(), O_RDONLY, 0);
    struct stat info {};
    fstat(fd, &info);
    close(fd);
    return info.st_size;
  }

 private:
  size_t size_;
  uint8_t* data_;
};

std::vector<uint8_t> Bytes(const SoundFeedBlock& block, size_t offset, size_t count) {
  return std::vector<uint8_t>(block.Base() + offset, block.Base() + offset + count);
}

using SoundFeedAttach = test::FeedTest;

TEST_F(SoundFeedAttach, NewBlockIsZeroedAndStamped) {
  EXPECT_EQ(SoundFeed(), feed_);
  EXPECT_EQ(Bytes(*feed_, feed::kBlockSize, 8), (std::vector<uint8_t>{0x16, 0x04, 0, 0, 6, 0, 0, 0}));
  EXPECT_EQ(Bytes(*feed_, feed::kSaverMajor, 6), (std::vector<uint8_t>{3, 0, 9, 0, 0xDE, 0x03}));
  for (size_t i = 8; i < feed::kSize; ++i) {
    if (i >= feed::kSaverMajor && i < feed::kSaverBuild + 2) continue;
    ASSERT_EQ(feed_->Base()[i], 0) << "offset " << i;
  }
}

TEST_F(SoundFeedAttach, SecondAttachSharesAndKeepsTheContents) {
  feed_->SetText(feed::kInfoText1, 64, "Track one");
  feed_->SetI32(feed::kAttachCount, 2);
  feed_->SetU32(feed::kCompanionActive, 1);
  feed_->SetU16(feed::kSaverBuild, 1);
  SoundFeedBlock* second = OpenSoundFeed();
  ASSERT_NE(second, nullptr) << SoundFeedError();
  EXPECT_NE(second->Base(), feed_->Base());
  EXPECT_EQ(second->Text(feed::kInfoText1, 64), "Track one");
  EXPECT_EQ(second->I32(feed::kAttachCount), 2);
  EXPECT_EQ(second->U32(feed::kCompanionActive), 1u);
  EXPECT_EQ(second->U16(feed::kSaverBuild), 990);
  second->SetI32(feed::kSaverCount, 5);
  EXPECT_EQ(feed_->I32(feed::kSaverCount), 5);
  EXPECT_EQ(SoundFeed(), second);
  CloseSoundFeed(second);
  EXPECT_EQ(SoundFeed(), nullptr);
  EXPECT_EQ(feed_->I32(feed::kSaverCount), 5);  // the first view still works
}

TEST(SoundFeedRefusal, OlderLayoutIsRefusedAndLeftUntouched) {
  ForeignBlock foreign(feed::kSize, feed::kSize, 5);
  std::vector<uint8_t> before = foreign.Contents();
  EXPECT_EQ(OpenSoundFeed(), nullptr);
  EXPECT_NE(SoundFeedError().find("layout 5"), std::string::npos) << SoundFeedError();
  EXPECT_EQ(foreign.Contents(), before);
  EXPECT_EQ(SoundFeed(), nullptr);
}

TEST(SoundFeedRefusal, WrongBlockSizeFieldIsRefused) {
  ForeignBlock foreign(feed::kSize, 1000, feed::kLayout);
  std::vector<uint8_t> before = foreign.Contents();
  EXPECT_EQ(OpenSoundFeed(), nullptr);
  EXPECT_EQ(foreign.Contents(), before);
}

TEST(SoundFeedRefusal, ObjectOfAnotherSizeIsRefusedAndNotResized) {
  ForeignBlock foreign(2000, feed::kSize, feed::kLayout);
  std::vector<uint8_t> before = foreign.Contents();
  EXPECT_EQ(OpenSoundFeed(), nullptr);
  EXPECT_NE(SoundFeedError().find("2000"), std::string::npos) << SoundFeedError();
  EXPECT_EQ(foreign.ObjectSize(), 2000);
  EXPECT_EQ(foreign.Contents(), before);
}

TEST(SoundFeedClose, NullIsIgnored) {
  CloseSoundFeed(nullptr);
  EXPECT_EQ(SoundFeed(), nullptr);
}

TEST(SoundFeedBlock, FieldsAreLittleEndianAtAnyOffset) {
  std::vector<uint8_t> memory(feed::kSize, 0xAA);
  SoundFeedBlock block(memory.data());
  block.SetU32(feed::kSaverCount, 0x01020304);  // offset 458, not a multiple of 4
  EXPECT_EQ(std::vector<uint8_t>(memory.begin() + 458, memory.begin() + 462), (std::vector<uint8_t>{4, 3, 2, 1}));
  EXPECT_EQ(memory[457], 0xAA);
  EXPECT_EQ(memory[462], 0xAA);
  block.SetI32(feed::kVerticalStep, -2);
  EXPECT_EQ(block.I32(feed::kVerticalStep), -2);
  EXPECT_EQ(memory[1038], 0xFE);
  EXPECT_EQ(memory[1041], 0xFF);
  block.SetF32(feed::kLevelScale, 1.0f);
  EXPECT_EQ(std::vector<uint8_t>(memory.begin() + 20, memory.begin() + 24), (std::vector<uint8_t>{0, 0, 0x80, 0x3F}));
  EXPECT_FLOAT_EQ(block.F32(feed::kLevelScale), 1.0f);
  block.SetU16(feed::kDigitKey, 0x0907);
  EXPECT_EQ(memory[1036], 7);
  EXPECT_EQ(memory[1037], 9);
  block.AddI32(feed::kHorizontalStep, 1);
  block.AddI32(feed::kHorizontalStep, -3);
  EXPECT_EQ(block.I32(feed::kHorizontalStep), static_cast<int32_t>(0xAAAAAAAA) - 2);
}

TEST(SoundFeedBlock, TextsAreBoundedAndTerminated) {
  std::vector<uint8_t> memory(feed::kSize, 'x');
  SoundFeedBlock block(memory.data());
  block.SetText(feed::kDisplayName, 128, std::string(200, 'n'));
  EXPECT_EQ(block.Text(feed::kDisplayName, 128), std::string(127, 'n'));
  EXPECT_EQ(memory[feed::kDisplayName + 127], 0);
  block.SetText(feed::kInfoText2, 64, "ab");
  EXPECT_EQ(block.Text(feed::kInfoText2, 64), "ab");
  EXPECT_EQ(memory[feed::kInfoText2 + 63], 0);  // the rest is cleared
  // A companion that fills a line without a terminator still reads bounded.
  std::memset(memory.data() + feed::kInfoText3, 'z', 64);
  EXPECT_EQ(block.Text(feed::kInfoText3, 64), std::string(64, 'z'));
}

}  // namespace
}  // namespace fluxo
