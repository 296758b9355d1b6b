#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace fluxo {

// Counts what the window presents at its refresh ticks, so a trace shows where
// presenting spends its time: presents a second, how many of them carry new
// colours, and the pixels converted (or uploaded) a second. Reports once a
// period, also when nothing was presented.
class PresentTally {
 public:
  using Clock = std::chrono::steady_clock;
  using Report = std::function<void(const std::string&)>;

  explicit PresentTally(Report report, Clock::duration period = std::chrono::seconds(5));
  // One refresh tick: `pixels` changed pixels, `newColours` when the palette
  // changed. A tick with neither presents nothing.
  void Refreshed(int64_t pixels, bool newColours, Clock::time_point now = Clock::now());

 private:
  Report report_;
  Clock::duration period_;
  Clock::time_point start_{};
  bool started_ = false;
  int64_t presents_ = 0, recoloured_ = 0, pixels_ = 0;
};

// "presents: 61.5 a second (33.1 with new colours), 72.0 M pixels a second"
std::string DescribePresents(double seconds, int64_t presents, int64_t recoloured, int64_t pixels);

}  // namespace fluxo
