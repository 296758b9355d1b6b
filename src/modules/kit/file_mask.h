#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace fluxo::kit {

// A file name or a mask such as "/home/me/pictures/*.BMP": wildcards (* and ?)
// in the last part only, matched without regard to case. "*.*" matches every
// name. Matches are regular files, listed in name order (ignoring case), so
// the order is the same on every file system.
bool MaskMatches(const std::string& pattern, const std::string& name);
std::vector<std::string> MatchingFiles(const std::string& mask);  // full paths

int CountFiles(const std::string& mask);

// The next file of a slide show: a random match or the one after `lastIndex`
// (wrapping), which becomes the new `lastIndex`. Since the index starts at 0
// the first file shown in order is the second match. False when nothing matches.
bool PickFile(const std::string& mask, std::string& pathOut, bool random, uint32_t& lastIndex);

}  // namespace fluxo::kit
