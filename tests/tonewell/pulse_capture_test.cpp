#include "tonewell/pulse_capture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <thread>

#include "tonewell/companion_fixture.h"

namespace fluxo::test {
namespace {

constexpr size_t kBandOf1kHz = 4;
constexpr auto kPatience = std::chrono::seconds(5);

// A PulseAudio server of the test's own: a null sink as the default output,
// reached through a socket in a private runtime folder.
class PrivatePulseServer {
 public:
  explicit PrivatePulseServer(const std::string& folder) : folder_(folder), socket_(folder + "/native") {
    std::ofstream(folder_ + "/server.pa") << "load-module module-null-sink sink_name=fluxotest rate=48000\n"
                                             "load-module module-native-protocol-unix auth-anonymous=1 socket="
                                          << socket_ << "\nset-default-sink fluxotest\n";
  }
  bool Start() {
    std::remove(socket_.c_str());
    process_ = std::make_unique<ChildProcess>(std::vector<std::string>{
        "env", "XDG_RUNTIME_DIR=" + folder_, "HOME=" + folder_, "PULSE_STATE_PATH=" + folder_ + "/state", "pulseaudio",
        "-n", "-F", folder_ + "/server.pa", "--exit-idle-time=-1", "--daemonize=no",
        "--log-target=file:" + folder_ + "/server.log"});
    struct stat info {};
    return process_->Running() && WaitUntil([&] { return stat(socket_.c_str(), &info) == 0; }, kPatience);
  }
  void Kill() { process_.reset(); }
  std::string Address() const { return "unix:" + socket_; }
  // Plays a file into the null sink and waits until it has been played.
  std::unique_ptr<ChildProcess> Play(const std::string& path) const {
    return std::make_unique<ChildProcess>(std::vector<std::string>{"env", "PULSE_SERVER=" + Address(), "paplay", path});
  }

 private:
  std::string folder_;
  std::string socket_;
  std::unique_ptr<ChildProcess> process_;
};

class PulseCaptureTest : public CompanionTest {
 protected:
  void SetUp() override {
    if (FindProgram("pulseaudio").empty()) GTEST_SKIP() << "pulseaudio is not installed";
    if (FindProgram("paplay").empty()) GTEST_SKIP() << "paplay (pulseaudio-utils) is not installed";
    CompanionTest::SetUp();
    folder_ = PrivateFolder("pulse-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    server_ = std::make_unique<PrivatePulseServer>(folder_);
  }
  void TearDown() override {
    CompanionTest::TearDown();
    server_.reset();
  }
  tonewell::CompanionOptions Capture() {
    tonewell::CompanionOptions options;
    options.pulse.server = server_->Address();
    options.pulse.retry = std::chrono::milliseconds(200);
    options.followPlayer = false;
    return options;
  }
  std::string Wav(const std::string& name, double leftAmplitude, double rightAmplitude) {
    const std::string path = folder_ + "/" + name;
    WriteWav(path, StereoTone(48000, 3.0, 1000, leftAmplitude, 1000, rightAmplitude), 48000);
    return path;
  }

  std::string folder_;
  std::unique_ptr<PrivatePulseServer> server_;
};

TEST_F(PulseCaptureTest, DesktopToneReachesTheBlockAndSilenceReadsNearZero) {
  ASSERT_TRUE(server_->Start());
  StartCompanion(Capture());
  ASSERT_TRUE(WaitUntil([&] { return Active(); }, kPatience)) << Messages();
  EXPECT_TRUE(Said("recording from \"@DEFAULT_MONITOR@\"")) << Messages();
  // Nothing plays yet: the monitor delivers silence.
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_LT(Levels().left.level + Levels().right.level, 1e-3f);

  auto both = server_->Play(Wav("both.wav", 0.5, 0.5));
  ASSERT_TRUE(WaitUntil(
      [&] {
        const tonewell::Levels levels = Levels();
        return levels.left.level > 0.2f && levels.right.level > 0.2f && Dominates(levels.left, kBandOf1kHz) &&
               Dominates(levels.right, kBandOf1kHz);
      },
      kPatience))
      << Messages();
  both.reset();

  auto left = server_->Play(Wav("left.wav", 0.5, 0.0));
  EXPECT_TRUE(WaitUntil(
      [&] {
        const tonewell::Levels levels = Levels();
        return levels.left.level > 0.2f && levels.right.level < 0.01f && Dominates(levels.left, kBandOf1kHz);
      },
      kPatience))
      << Messages();
  EXPECT_TRUE(Active());
}

TEST_F(PulseCaptureTest, LosingTheServerGoesInactiveAndReconnectsWhenItReturns) {
  ASSERT_TRUE(server_->Start());
  StartCompanion(Capture());
  ASSERT_TRUE(WaitUntil([&] { return Active(); }, kPatience)) << Messages();
  auto tone = server_->Play(Wav("tone.wav", 0.5, 0.5));
  ASSERT_TRUE(WaitUntil([&] { return Levels().left.level > 0.2f; }, kPatience));

  server_->Kill();
  ASSERT_TRUE(WaitUntil([&] { return !Active(); }, kPatience));
  EXPECT_EQ(Levels().left.level, 0.0f) << "no frozen level while nothing is captured";
  EXPECT_TRUE(WaitUntil([&] { return Said("lost the"); }, kPatience)) << Messages();
  EXPECT_TRUE(WaitUntil([&] { return Said("cannot connect to the sound server"); }, kPatience)) << Messages();

  ASSERT_TRUE(server_->Start());
  EXPECT_TRUE(WaitUntil([&] { return Active(); }, kPatience)) << Messages();
}

TEST_F(PulseCaptureTest, MissingSourceIsReportedAndRetried) {
  ASSERT_TRUE(server_->Start());
  tonewell::CompanionOptions options = Capture();
  options.pulse.source = "no-such-source";
  StartCompanion(options);
  EXPECT_TRUE(WaitUntil([&] { return Said("cannot record from \"no-such-source\""); }, kPatience)) << Messages();
  EXPECT_FALSE(Active());
}

TEST_F(PulseCaptureTest, NoServerAtAllKeepsTryingQuietly) {
  StartCompanion(Capture());
  EXPECT_TRUE(WaitUntil([&] { return Said("cannot connect to the sound server"); }, kPatience)) << Messages();
  std::this_thread::sleep_for(std::chrono::milliseconds(700));  // several retries
  EXPECT_FALSE(Active());
  EXPECT_EQ(TimesSaid("cannot connect"), 1u) << "the same failure is reported once, not at every retry";
  ASSERT_TRUE(server_->Start());
  EXPECT_TRUE(WaitUntil([&] { return Active(); }, kPatience)) << Messages();
}

}  // namespace
}  // namespace fluxo::test
