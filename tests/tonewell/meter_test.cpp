#include "tonewell/meter.h"

#include <gtest/gtest.h>
#include <sys/mman.h>

#include <algorithm>
#include <sstream>

#include "platform/system/folders.h"
#include "tonewell/feed_publisher.h"

namespace fluxo::tonewell {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

size_t Filled(const std::string& line) { return static_cast<size_t>(std::count(line.begin(), line.end(), '#')); }

TEST(Meter, BarsShowWhatTheSaverReadsWithFixedScaling) {
  shm_unlink(SharedMemoryName().c_str());
  SoundFeedBlock* block = AttachSoundFeed();
  ASSERT_NE(block, nullptr) << SoundFeedError();
  EXPECT_NE(Lines(MeterText(*block, 40))[0].find("not publishing"), std::string::npos);

  FeedPublisher publisher(*block);
  publisher.Introduce();
  Levels levels;
  levels.left.level = kLevelScale;        // reads 1: a full bar
  levels.right.level = kLevelScale / 4;   // a quarter
  levels.left.bands[4] = kBandScale * 3;  // past full scale: still one full bar
  levels.right.bands[15] = kBandScale / 2;
  publisher.Publish(levels);

  const std::vector<std::string> lines = Lines(MeterText(*block, 40));
  ASSERT_EQ(lines.size(), 3 + kBandCount);
  EXPECT_EQ(lines[0], "Tonewell is publishing");
  EXPECT_EQ(Filled(lines[1]), 40u);
  EXPECT_NE(lines[1].find("1.00"), std::string::npos) << lines[1];
  EXPECT_EQ(Filled(lines[2]), 10u);
  EXPECT_NE(lines[3 + 4].find("1 kHz"), std::string::npos);
  EXPECT_EQ(Filled(lines[3 + 4]), 20u) << "left half full, right half empty";
  EXPECT_EQ(Filled(lines[3 + 15]), 10u);
  EXPECT_EQ(Filled(lines[3 + 0]), 0u);

  CloseSoundFeed(block);
  shm_unlink(SharedMemoryName().c_str());
}

}  // namespace
}  // namespace fluxo::tonewell
