#include "host/present_tally.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fluxo {
namespace {

using std::chrono::milliseconds;

TEST(PresentTally, ReportsRatesOnceAPeriodFromTheFirstPresentOn) {
  std::vector<std::string> reports;
  PresentTally tally([&](const std::string& line) { reports.push_back(line); }, std::chrono::seconds(2));
  const PresentTally::Clock::time_point start{std::chrono::hours(1)};
  // 60 presents a second for two seconds: every other one with new colours.
  for (int i = 0; i <= 120; ++i) tally.Refreshed(1000, i % 2 == 1, start + milliseconds(i * 1000 / 60));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "presents: 60.5 a second (30.0 with new colours), 0.1 M pixels a second");
  // The next period counts afresh.
  tally.Refreshed(4'000'000, true, start + milliseconds(3000));
  tally.Refreshed(0, false, start + milliseconds(4000));
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1], "presents: 0.5 a second (0.5 with new colours), 2.0 M pixels a second");
}

TEST(PresentTally, SaysNothingBeforeAPeriodHasPassedAndCountsOnlyTicksThatPresent) {
  std::vector<std::string> reports;
  PresentTally tally([&](const std::string& line) { reports.push_back(line); }, std::chrono::seconds(5));
  const PresentTally::Clock::time_point start{std::chrono::hours(1)};
  for (int i = 0; i < 299; ++i) tally.Refreshed(10, false, start + milliseconds(i * 16));
  EXPECT_TRUE(reports.empty());
  tally.Refreshed(0, false, start + milliseconds(5000));
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "presents: 59.8 a second (0.0 with new colours), 0.0 M pixels a second");
  // A paused picture: the ticks go on, nothing is presented, and that is said.
  for (int i = 1; i <= 313; ++i) tally.Refreshed(0, false, start + milliseconds(5000 + i * 16));
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_EQ(reports[1], "presents: 0.0 a second (0.0 with new colours), 0.0 M pixels a second");
  EXPECT_EQ(DescribePresents(0, 3, 1, 10), "presents: none measured");
}

}  // namespace
}  // namespace fluxo
