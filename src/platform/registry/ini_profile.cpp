#include "platform/registry/ini_profile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/registry/key_names.h"
#include "platform/system/folders.h"

namespace fluxo::ini {
namespace {

struct Profile {
  std::vector<std::string> lines;  // without their line ends
  bool crlf = false;               // written back with the ends it came with
};

// The lines of one section: its header and everything up to the next header.
struct Section {
  size_t header;
  size_t end;
};

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) { return reg::names::Fold(a) == reg::names::Fold(b); }

std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  size_t close = line.find(']');
  if (line.empty() || line.front() != '[' || close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

bool SplitEntry(std::string_view line, std::string_view& key, std::string_view& value) {
  line = Trim(line);
  size_t eq = line.find('=');
  if (line.empty() || line.front() == ';' || line.front() == '[' || eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  value = Trim(line.substr(eq + 1));
  return true;
}

std::optional<Section> FindSection(const Profile& p, std::string_view name) {
  for (size_t i = 0; i < p.lines.size(); ++i) {
    auto found = SectionName(p.lines[i]);
    if (!found || !SameName(*found, name)) continue;
    size_t end = i + 1;
    while (end < p.lines.size() && !SectionName(p.lines[end])) ++end;
    return Section{i, end};
  }
  return std::nullopt;
}

std::optional<size_t> FindEntry(const Profile& p, const Section& s, std::string_view key, std::string_view* value) {
  for (size_t i = s.header + 1; i < s.end; ++i) {
    std::string_view k, v;
    if (!SplitEntry(p.lines[i], k, v) || !SameName(k, key)) continue;
    if (value) *value = v;
    return i;
  }
  return std::nullopt;
}

bool Load(const std::string& path, Profile& p) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return !std::filesystem::exists(path);  // a missing file is an empty profile
  std::ostringstream all;
  all << in.rdbuf();
  std::string text = all.str();
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
      p.crlf = true;
    }
    p.lines.push_back(std::move(line));
    start = end + 1;
  }
  return true;
}

// Written beside the file and renamed over it, so readers never see half a file.
bool Save(const std::string& path, const Profile& p) {
  std::string temp = path + ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    for (const std::string& line : p.lines) out << line << (p.crlf ? "\r\n" : "\n");
    if (!out.flush()) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) == 0) return true;
  std::remove(temp.c_str());
  return false;
}

// Serialises writers of one profile across processes.
class WriteLock {
 public:
  explicit WriteLock(const std::string& path) : fd_(open((path + ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644)) {
    if (fd_ >= 0) flock(fd_, LOCK_EX);
  }
  ~WriteLock() {
    if (fd_ >= 0) close(fd_);
  }
  WriteLock(const WriteLock&) = delete;
  WriteLock& operator=(const WriteLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_;
};

bool HasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

bool ValidNames(std::string_view section, std::optional<std::string_view> key, std::optional<std::string_view> value) {
  if (Trim(section).empty() || HasLineBreak(section) || section.find(']') != std::string_view::npos) return false;
  if (key && (Trim(*key).empty() || HasLineBreak(*key) || key->find('=') != std::string_view::npos ||
              Trim(*key).front() == ';' || Trim(*key).front() == '['))
    return false;
  return !value || !HasLineBreak(*value);
}

// True when the lines changed.
bool Apply(Profile& p, std::string_view section, std::optional<std::string_view> key,
           std::optional<std::string_view> value) {
  std::optional<Section> s = FindSection(p, section);
  if (!key) {
    if (s) p.lines.erase(p.lines.begin() + static_cast<ptrdiff_t>(s->header), p.lines.begin() + static_cast<ptrdiff_t>(s->end));
    return s.has_value();
  }
  std::string entry = std::string(Trim(*key)) + "=" + std::string(value ? Trim(*value) : "");
  std::optional<size_t> at = s ? FindEntry(p, *s, *key, nullptr) : std::nullopt;
  if (at) {
    if (value)
      p.lines[*at] = entry;
    else
      p.lines.erase(p.lines.begin() + static_cast<ptrdiff_t>(*at));
    return true;
  }
  if (!value) return false;
  if (!s) {
    if (!p.lines.empty() && !Trim(p.lines.back()).empty()) p.lines.emplace_back();
    p.lines.push_back("[" + std::string(Trim(section)) + "]");
    p.lines.push_back(entry);
    return true;
  }
  // After the section's last entry, ahead of the blank lines that separate it.
  size_t insert = s->end;
  while (insert > s->header + 1 && Trim(p.lines[insert - 1]).empty()) --insert;
  p.lines.insert(p.lines.begin() + static_cast<ptrdiff_t>(insert), entry);
  return true;
}

}  // namespace

std::string ProfilePath(std::string_view file) {
  if (file.find('/') != std::string_view::npos) return std::string(file);
  return ConfigFolder() + "/" + std::string(file);
}

std::string ReadProfileString(std::string_view file, std::string_view section, std::string_view key,
                              std::string_view fallback) {
  Profile p;
  if (!Load(ProfilePath(file), p)) return std::string(fallback);
  std::optional<Section> s = FindSection(p, section);
  std::string_view value;
  if (!s || !FindEntry(p, *s, key, &value)) return std::string(fallback);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

bool WriteProfileString(std::string_view file, std::string_view section, std::optional<std::string_view> key,
                        std::optional<std::string_view> value) {
  if (!ValidNames(section, key, value)) return false;
  std::string path = ProfilePath(file);
  if (!EnsureFolder(std::filesystem::path(path).parent_path().string())) return false;
  WriteLock lock(path);
  Profile p;
  if (!lock.Held() || !Load(path, p)) return false;
  return !Apply(p, section, key, value) || Save(path, p);
}

}  // namespace fluxo::ini
