#pragma once
#include "host/saver_switches.h"

namespace fluxo {

// Runs the saver the switches ask for (every mode except Configure) with
// ScreenSaverProc and returns the process exit status: 0 after a normal end,
// the code given to PostQuit otherwise, and non-zero with a message on
// standard error when the window could not be made.
int RunSaverHost(const SaverSwitches& switches, int argc, char** argv);

}  // namespace fluxo
