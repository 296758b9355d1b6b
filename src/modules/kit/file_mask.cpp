#include "modules/kit/file_mask.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/system/random.h"

namespace fluxo::kit {
namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool LessIgnoringCase(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return Lower(x) < Lower(y); });
}

// Glob matching with backtracking to the last star: linear in practice, and
// never recursive, whatever the pattern.
bool Glob(const std::string& p, const std::string& s) {
  size_t pi = 0, si = 0, starP = std::string::npos, starS = 0;
  while (si < s.size()) {
    if (pi < p.size() && (p[pi] == '?' || Lower(p[pi]) == Lower(s[si]))) {
      ++pi;
      ++si;
    } else if (pi < p.size() && p[pi] == '*') {
      starP = pi++;
      starS = si;
    } else if (starP != std::string::npos) {
      pi = starP + 1;
      si = ++starS;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

}  // namespace

bool MaskMatches(const std::string& pattern, const std::string& name) {
  return pattern == "*.*" || Glob(pattern, name);
}

std::vector<std::string> MatchingFiles(const std::string& mask) {
  const std::filesystem::path path(mask);
  const std::string pattern = path.filename().string();
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (MaskMatches(pattern, name) && it->is_regular_file(ec)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), LessIgnoringCase);
  std::vector<std::string> paths;
  paths.reserve(names.size());
  for (const std::string& name : names) paths.push_back((folder / name).string());
  return paths;
}

int CountFiles(const std::string& mask) { return static_cast<int>(MatchingFiles(mask).size()); }

bool PickFile(const std::string& mask, std::string& pathOut, bool random, uint32_t& lastIndex) {
  const std::vector<std::string> files = MatchingFiles(mask);
  if (files.empty()) return false;
  const uint32_t count = static_cast<uint32_t>(files.size());
  lastIndex = (random ? static_cast<uint32_t>(Rand()) : lastIndex + 1) % count;
  pathOut = files[lastIndex];
  return true;
}

}  // namespace fluxo::kit
