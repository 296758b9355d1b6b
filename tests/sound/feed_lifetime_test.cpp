// The block lives as long as some process keeps it attached: real processes
// that attach, die or detach.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/system/folders.h"
#include "sound/sound_feed.h"

namespace fluxo::test {
namespace {

bool BlockExists() { return std::filesystem::exists("/dev/shm" + SharedMemoryName()); }

// A child process attached to the block: it applies `change` and then stays
// until it is killed or told to detach.
class AttachedProcess {
 public:
  template <typename Change>
  explicit AttachedProcess(Change change) {
    int ready[2], go[2];
    if (pipe(ready) != 0 || pipe(go) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(go[1]);
      SoundFeedBlock* feed = OpenSoundFeed();
      if (feed) change(*feed);
      char byte = feed ? 1 : 0;
      if (write(ready[1], &byte, 1) != 1) _exit(2);
      if (read(go[0], &byte, 1) < 0) _exit(3);
      CloseSoundFeed(feed);
      _exit(0);
    }
    close(ready[1]);
    close(go[0]);
    go_ = go[1];
    char byte = 0;
    attached_ = read(ready[0], &byte, 1) == 1 && byte == 1;
    close(ready[0]);
  }
  ~AttachedProcess() {
    if (pid_ > 0) Kill();
  }
  bool Attached() const { return attached_; }
  void Kill() {
    kill(pid_, SIGKILL);
    Reap();
  }
  void Detach() {
    close(go_);  // end of file: the child detaches cleanly
    Reap();
  }

 private:
  void Reap() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  pid_t pid_ = -1;
  int go_ = -1;
  bool attached_ = false;
};

class FeedLifetime : public ::testing::Test {
 protected:
  void SetUp() override { shm_unlink(SharedMemoryName().c_str()); }
  void TearDown() override { shm_unlink(SharedMemoryName().c_str()); }
};

TEST_F(FeedLifetime, BlockOfAKilledSaverStartsFromZeroForTheNext) {
  {
    AttachedProcess saver([](SoundFeedBlock& f) {
      f.AddI32(feed::kSaverCount, 1);
      f.AddI32(feed::kAttachCount, 1);
      f.AddI32(feed::kFullScreenCount, 1);
      f.SetU32(feed::kCaptureRequest, 1);
      f.SetU32(feed::kCompanionQuit, 1);
    });
    ASSERT_TRUE(saver.Attached());
    saver.Kill();
  }
  ASSERT_TRUE(BlockExists());  // nobody could tidy up after the kill
  SoundFeedBlock* feed = OpenSoundFeed();
  ASSERT_NE(feed, nullptr) << SoundFeedError();
  EXPECT_EQ(feed->I32(feed::kSaverCount), 0);
  EXPECT_EQ(feed->I32(feed::kAttachCount), 0);
  EXPECT_EQ(feed->I32(feed::kFullScreenCount), 0);
  EXPECT_EQ(feed->U32(feed::kCaptureRequest), 0u);
  EXPECT_EQ(feed->U32(feed::kCompanionQuit), 0u);
  EXPECT_EQ(feed->U32(feed::kBlockSize), feed::kSize);
  EXPECT_EQ(feed->U16(feed::kSaverBuild), 990);
  CloseSoundFeed(feed);
}

TEST_F(FeedLifetime, ABlockThatALiveProcessHoldsKeepsItsContents) {
  AttachedProcess companion([](SoundFeedBlock& f) {
    f.SetU32(feed::kCompanionActive, 1);
    f.SetText(feed::kInfoText1, 64, "Artist");
  });
  ASSERT_TRUE(companion.Attached());
  SoundFeedBlock* feed = OpenSoundFeed();
  ASSERT_NE(feed, nullptr) << SoundFeedError();
  EXPECT_EQ(feed->U32(feed::kCompanionActive), 1u);
  EXPECT_EQ(feed->Text(feed::kInfoText1, 64), "Artist");
  CloseSoundFeed(feed);
  EXPECT_TRUE(BlockExists());  // the companion is still attached
  companion.Detach();
  EXPECT_FALSE(BlockExists());
}

TEST_F(FeedLifetime, LastCleanDetachRemovesTheBlockAndItsLocks) {
  SoundFeedBlock* first = OpenSoundFeed();
  ASSERT_NE(first, nullptr) << SoundFeedError();
  SoundFeedBlock* second = OpenSoundFeed();
  ASSERT_NE(second, nullptr) << SoundFeedError();
  CloseSoundFeed(first);
  EXPECT_TRUE(BlockExists());
  CloseSoundFeed(second);
  EXPECT_FALSE(BlockExists());
  EXPECT_FALSE(std::filesystem::exists("/dev/shm" + SharedMemoryName() + ".attach"));
  EXPECT_FALSE(std::filesystem::exists("/dev/shm" + SharedMemoryName() + ".gate"));
}

TEST_F(FeedLifetime, ShareHeldByAThreadOutlivesTheDetach) {
  SoundFeedBlock* feed = OpenSoundFeed();
  ASSERT_NE(feed, nullptr) << SoundFeedError();
  std::shared_ptr<void> share = RetainSoundFeed();
  CloseSoundFeed(feed);
  EXPECT_EQ(SoundFeed(), nullptr);
  feed->SetU32(feed::kRestartRequest, 7);  // still mapped for the holder
  EXPECT_EQ(feed->U32(feed::kRestartRequest), 7u);
  EXPECT_TRUE(BlockExists());
  share.reset();
  EXPECT_FALSE(BlockExists());
}

TEST_F(FeedLifetime, EmptyOrMalformedNamesAreRefused) {
  const std::string name = SharedMemoryName();
  for (const char* bad : {"", "no-slash", "/two/slashes"}) {
    setenv("FLUXO_SHM_NAME", bad, 1);
    EXPECT_EQ(OpenSoundFeed(), nullptr) << bad;
    EXPECT_FALSE(SoundFeedError().empty());
  }
  setenv("FLUXO_SHM_NAME", "", 1);
  OpenSoundFeed();
  EXPECT_NE(SoundFeedError().find("FLUXO_SHM_NAME"), std::string::npos) << SoundFeedError();
  setenv("FLUXO_SHM_NAME", name.c_str(), 1);
}

}  // namespace
}  // namespace fluxo::test
