#pragma once
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace fluxo {

// Turns SIGTERM, SIGINT and SIGHUP into a call on the Qt thread, so a saver
// that is told to stop (xscreensaver ends its hacks with SIGTERM) still tears
// down in order: the render thread stops, the video mode is restored and the
// sound feed is released. One watch at a time; the previous handlers come
// back when it goes.
class TerminationWatch {
 public:
  explicit TerminationWatch(std::function<void()> onSignal);
  ~TerminationWatch();
  TerminationWatch(const TerminationWatch&) = delete;
  TerminationWatch& operator=(const TerminationWatch&) = delete;

 private:
  std::function<void()> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace fluxo
