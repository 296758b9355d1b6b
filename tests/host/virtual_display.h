#pragma once
#include <signal.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fluxo {

// An X server of our own (Xvfb) for the length of a test.
class VirtualDisplay {
 public:
  explicit VirtualDisplay(const std::string& screen) {
    const std::string command =
        "command -v Xvfb >/dev/null && echo $$ && exec Xvfb -displayfd 1 -nolisten tcp -screen 0 " + screen +
        " 2>/dev/null";
    pipe_ = popen(command.c_str(), "r");
    if (pipe_ && std::fscanf(pipe_, "%d %d", &pid_, &number_) != 2) number_ = -1;
  }
  ~VirtualDisplay() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    if (pipe_) pclose(pipe_);
  }
  VirtualDisplay(const VirtualDisplay&) = delete;
  VirtualDisplay& operator=(const VirtualDisplay&) = delete;

  bool Running() const { return number_ >= 0; }
  // The value DISPLAY takes to reach it.
  std::string Name() const { return ":" + std::to_string(number_); }
  // Sets DISPLAY, which the presenter's own connection follows.
  xcb_connection_t* Connect() const {
    setenv("DISPLAY", Name().c_str(), 1);
    return xcb_connect(nullptr, nullptr);
  }

 private:
  FILE* pipe_ = nullptr;
  int pid_ = -1;
  int number_ = -1;
};

}  // namespace fluxo
