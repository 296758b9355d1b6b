#pragma once
#include <string>
#include <vector>

#include "tonewell/companion.h"

namespace fluxo::tonewell {

struct CommandLine {
  enum class Action { Run, Install, Help, Invalid };
  Action action = Action::Run;
  CompanionOptions options;
  bool meter = false;
  std::string error;  // for Invalid
};

// Reads the program's arguments (without the program name).
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);
std::string UsageText();

}  // namespace fluxo::tonewell
