#pragma once

namespace fluxo {

// The version every part of the program reports: captions, the settings'
// "Current Version" and "Build", the sound feed.
inline constexpr int kProgramMajor = 3;
inline constexpr int kProgramMinor = 9;
inline constexpr int kProgramBuild = 990;

}  // namespace fluxo
