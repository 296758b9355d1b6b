#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <thread>

#include "controls/controls.h"
#include "engine/module_registry.h"
#include "platform/system/saver_state.h"
#include "sound/sound_feed.h"
#include "tonewell/companion_fixture.h"
#include "tonewell/registration.h"

namespace fluxo::test {
namespace {

constexpr size_t kBandOf1kHz = 4;
constexpr auto kPatience = std::chrono::milliseconds(3000);

tonewell::CompanionOptions FileInput(const std::string& path) {
  tonewell::CompanionOptions options;
  options.inputFile = path;
  options.followPlayer = false;
  return options;
}

using FileInputCompanion = CompanionTest;

TEST_F(FileInputCompanion, LeftOnlyToneReadsLeftAndLandsInItsBand) {
  const std::string path = PrivateFolder("wav") + "/left-1k.wav";
  WriteWav(path, StereoTone(48000, 1.0, 1000, 0.5, 1000, 0.0), 48000);
  StartCompanion(FileInput(path));
  ASSERT_TRUE(WaitUntil([&] { return Active() && Levels().left.level > 0.34f; }, kPatience)) << Messages();
  const tonewell::Levels levels = Levels();
  EXPECT_NEAR(levels.left.level, 0.5f / std::sqrt(2.0f), 0.02f);
  EXPECT_LT(levels.right.level, 0.001f);
  EXPECT_TRUE(Dominates(levels.left, kBandOf1kHz));
  EXPECT_EQ(saver_->U16(feed::kCompanionMajor), 3);
  EXPECT_EQ(saver_->U16(feed::kCompanionMinor), 3);

  // The file ends: the companion says so in the block.
  ASSERT_TRUE(WaitUntil([&] { return companion_->InputEnded(); }, kPatience));
  EXPECT_FALSE(Active());
  EXPECT_EQ(Levels().left.level, 0.0f);
}

TEST_F(FileInputCompanion, BothChannelsOfAStereoToneAndTheSaverSeesACompatibleCompanion) {
  ASSERT_TRUE(tonewell::RegisterCompanion("tonewell"));
  const std::string path = PrivateFolder("wav") + "/both-3k.wav";
  WriteWav(path, StereoTone(44100, 1.0, 3250, 0.4, 3250, 0.2), 44100);
  StartCompanion(FileInput(path));
  ASSERT_TRUE(WaitUntil([&] { return Active() && Levels().right.level > 0.1f; }, kPatience)) << Messages();
  const tonewell::Levels levels = Levels();
  EXPECT_GT(levels.left.level, levels.right.level);
  EXPECT_TRUE(Dominates(levels.left, 8));
  EXPECT_TRUE(Dominates(levels.right, 8));
  EXPECT_EQ(SoundStatusText(),
            "The present versions of The Fluxonic Screen Saver and Tonewell will function together to provide sound "
            "synchronization.");
}

// The saver's side: a module control on the 1 kHz band keeps its source while
// the companion publishes, and reads the tone in that band only.
TEST_F(FileInputCompanion, SaverKeepsBandSourcesAndReadsTheBand) {
  ResetSaverState();
  ClearModuleTable();
  DefineAllControls();
  MarkSoundCapableControls();
  SetActive(kModuleStar, true);
  Slot(kModuleStar).controls.source[1] = kSourceFirstBand + kBandOf1kHz;
  saver_->SetU32(feed::kModuleSync, 1);
  saver_->SetU32(feed::kAutoGain, 0);

  const std::string path = PrivateFolder("wav") + "/band.wav";
  WriteWav(path, StereoTone(48000, 1.0, 1000, 0.3, 1000, 0.3), 48000);
  StartCompanion(FileInput(path));
  ASSERT_TRUE(WaitUntil([&] { return Active() && SoundLevel(kSourceFirstBand + kBandOf1kHz) > 0.5f; }, kPatience))
      << Messages();
  std::this_thread::sleep_for(std::chrono::milliseconds(200));  // past the tone's onset, which is broadband
  ApplySoundAvailability();
  EXPECT_EQ(Slot(kModuleStar).controls.source[1], kSourceFirstBand + kBandOf1kHz);
  EXPECT_EQ(saver_->U32(feed::kModulesUseSound), 1u);
  EXPECT_LT(SoundLevel(kSourceFirstBand + kBandOf1kHz + 2), 0.05f);
  ClearModuleTable();
  ResetSaverState();
}

TEST_F(FileInputCompanion, SilenceReadsNearZero) {
  const std::string path = PrivateFolder("wav") + "/silence.wav";
  WriteWav(path, StereoTone(48000, 1.0, 1000, 0.0, 1000, 0.0), 48000);
  StartCompanion(FileInput(path));
  ASSERT_TRUE(WaitUntil([&] { return Active(); }, kPatience)) << Messages();
  for (int sample = 0; sample < 10 && Active(); ++sample) {
    const tonewell::Levels levels = Levels();
    EXPECT_LT(levels.left.level + levels.right.level, 1e-4f);
    for (size_t band = 0; band < tonewell::kBandCount; ++band) EXPECT_LT(levels.left.bands[band], 1e-4f);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
  }
}

TEST_F(FileInputCompanion, UnreadableFileIsReportedAndLeavesTheCompanionInactive) {
  const std::string path = PrivateFolder("wav") + "/not-audio.wav";
  { std::ofstream(path) << "this is no audio file"; }
  StartCompanion(FileInput(path));
  ASSERT_TRUE(WaitUntil([&] { return companion_->InputEnded(); }, kPatience));
  EXPECT_TRUE(Said("cannot read")) << Messages();
  EXPECT_FALSE(Active());
}

TEST_F(FileInputCompanion, QuitRequestOfTheSaverThatLaunchedIt) {
  saver_->SetU32(feed::kCompanionQuit, 1);  // left over from an earlier run
  const std::string path = PrivateFolder("wav") + "/quit.wav";
  WriteWav(path, StereoTone(48000, 1.0, 500, 0.3, 500, 0.3), 48000);
  StartCompanion(FileInput(path));
  EXPECT_FALSE(companion_->QuitRequested());
  saver_->SetU32(feed::kCompanionQuit, 1);
  EXPECT_TRUE(companion_->QuitRequested());
  companion_->Stop();
  EXPECT_FALSE(Active());
}

}  // namespace
}  // namespace fluxo::test
