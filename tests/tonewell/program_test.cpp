#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/system/process.h"
#include "settings/settings_store.h"
#include "tonewell/companion_fixture.h"
#include "tonewell/registration.h"

namespace fluxo::test {
namespace {

const std::string kProgram = std::string(FLUXO_BINARY_DIR) + "/tonewell";

// Runs the program with its stderr into a file; the exit code, or -1 when it
// did not end in time.
int RunProgram(const std::string& arguments, std::string* errors, int timeoutMs = 20000) {
  const std::string errorFile = PrivateFolder("program") + "/stderr.txt";
  const pid_t pid = SpawnProcess({"sh", "-c", "exec " + kProgram + " " + arguments + " 2>" + errorFile});
  int code = -1;
  if (!WaitForProcess(pid, timeoutMs, &code)) {
    kill(pid, SIGKILL);
    WaitForProcess(pid, 5000, &code);
    return -1;
  }
  std::ifstream in(errorFile);
  std::stringstream text;
  text << in.rdbuf();
  *errors = text.str();
  return code;
}

// A block some other program made, of the given object size and stamp.
class ForeignBlock {
 public:
  ForeignBlock(size_t size, uint32_t blockSize, uint32_t layout) : size_(size) {
    shm_unlink(SharedMemoryName().c_str());
    const int fd = shm_open(SharedMemoryName().c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(ftruncate(fd, static_cast<off_t>(size)), 0);
    data_ = static_cast<uint8_t*>(mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0));
    close(fd);
    std::memcpy(data_, &blockSize, 4);
    std::memcpy(data_ + 4, &layout, 4);
    data_[feed::kCompanionActive % size] = 0;
  }
  ~ForeignBlock() {
    munmap(data_, size_);
    shm_unlink(SharedMemoryName().c_str());
  }
  std::vector<uint8_t> Contents() const { return std::vector<uint8_t>(data_, data_ + size_); }

 private:
  size_t size_;
  uint8_t* data_;
};

TEST(RefusedBlock, CompanionRefusesABlockOfAnotherSizeOrLayoutAndLeavesIt) {
  for (auto [size, layout, says] : {std::tuple<size_t, uint32_t, const char*>{2000, 6, "2000"},
                                    std::tuple<size_t, uint32_t, const char*>{feed::kSize, 5, "layout 5"}}) {
    ForeignBlock foreign(size, size == feed::kSize ? feed::kSize : 2000, layout);
    const std::vector<uint8_t> before = foreign.Contents();
    tonewell::Companion companion({}, [](const std::string&) {});
    std::string error;
    EXPECT_FALSE(companion.Start(&error));
    EXPECT_NE(error.find(says), std::string::npos) << error;
    EXPECT_EQ(foreign.Contents(), before);
  }
}

TEST(RefusedBlock, ProgramSaysWhyAndFails) {
  ForeignBlock foreign(feed::kSize, feed::kSize, 5);
  std::string errors;
  EXPECT_EQ(RunProgram("--input /nonexistent.wav --no-player", &errors), 1);
  EXPECT_NE(errors.find("cannot use the saver's sound block"), std::string::npos) << errors;
  EXPECT_NE(errors.find("layout 5"), std::string::npos) << errors;
}

TEST(Program, InstallRegistersVersionAndCommandLine) {
  std::string errors;
  ASSERT_EQ(RunProgram("--install", &errors), 0) << errors;
  EXPECT_EQ(ReadDword(reg::Hive::CurrentUser, "Software\\Tonewell", "Current Version"), (3u << 16) + 3);
  char command[261] = {};
  ASSERT_TRUE(ReadMachineValue(reg::Hive::LocalMachine, "Software\\Tonewell", "", command, sizeof command));
  char resolved[PATH_MAX];
  ASSERT_NE(realpath(kProgram.c_str(), resolved), nullptr);
  EXPECT_EQ(std::string(command), resolved);
  EXPECT_EQ(RunProgram("--bogus", &errors), 2);
  EXPECT_NE(errors.find("Usage: tonewell"), std::string::npos);
}

using RunningProgram = CompanionTest;

TEST_F(RunningProgram, PublishesAFileAndQuitsWhenTheLaunchingSaverEnds) {
  const std::string path = PrivateFolder("program") + "/long.wav";
  WriteWav(path, StereoTone(48000, 10.0, 150, 0.5, 150, 0.5), 48000);
  const pid_t pid = SpawnProcess({kProgram, "--input", path, "--no-player", "/PPLAY"});
  ASSERT_GT(pid, 0);
  EXPECT_TRUE(WaitUntil([&] { return Active() && Dominates(Levels().left, 0); }, std::chrono::seconds(5)));
  saver_->SetU32(feed::kCompanionQuit, 1);
  int code = -1;
  const bool ended = WaitForProcess(pid, 5000, &code);
  if (!ended) kill(pid, SIGKILL), WaitForProcess(pid, 5000, &code);
  EXPECT_TRUE(ended);
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(Active());
}

}  // namespace
}  // namespace fluxo::test
