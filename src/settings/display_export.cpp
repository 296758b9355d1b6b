#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/registry/registry.h"
#include "settings/display_file.h"

namespace fluxo {
namespace {

struct PendingKey {
  reg::Key key;
  std::string relative;
};

bool Refuse(std::string* problem, std::string text) {
  if (problem) *problem = std::move(text);
  return false;
}

std::string Join(const std::string& relative, const std::string& name) {
  return relative.empty() ? name : relative + "\\" + name;
}

// Writes the whole file beside its target and renames it into place, so a
// failed export never leaves a broken file under the name.
bool WriteWhole(const char* filePath, const std::vector<uint8_t>& bytes) {
  std::string temporary = std::string(filePath) + ".XXXXXX";
  int fd = mkstemp(temporary.data());
  if (fd < 0) return false;
  bool ok = true;
  for (size_t done = 0; ok && done < bytes.size();) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) ok = false;
    else done += static_cast<size_t>(n);
  }
  ok = fchmod(fd, 0644) == 0 && ok;
  ok = close(fd) == 0 && ok;
  if (ok) ok = std::rename(temporary.c_str(), filePath) == 0;
  if (!ok) unlink(temporary.c_str());
  return ok;
}

}  // namespace

bool CollectDisplayRecords(const std::string& keyPath, std::vector<DisplayRecord>& records, std::string* problem,
                           bool fileLimits) {
  records.clear();
  PendingKey top;
  if (reg::OpenKey(reg::Hive::CurrentUser, keyPath, top.key) != reg::kSuccess)
    return Refuse(problem, "no key " + keyPath);
  // Depth first with an explicit stack: no stored tree can exhaust the call stack.
  std::vector<PendingKey> stack{top};
  while (!stack.empty()) {
    PendingKey at = std::move(stack.back());
    stack.pop_back();
    if (fileLimits && at.relative.size() + 1 > kMaxRecordPath) return Refuse(problem, "key path too long: " + at.relative);
    DisplayRecord record;
    for (uint32_t i = 0; reg::EnumValue(at.key, i, record.name, &record.type, &record.data) == reg::kSuccess; ++i) {
      if (fileLimits && record.name.size() + 1 > kMaxWrittenName)
        return Refuse(problem, "value name too long: " + record.name);
      if (fileLimits && record.data.size() > kMaxRecordData) return Refuse(problem, "value too large: " + record.name);
      record.path = at.relative;
      records.push_back(record);
    }
    std::vector<PendingKey> children;
    std::string name;
    for (uint32_t i = 0; reg::EnumKey(at.key, i, name) == reg::kSuccess; ++i) {
      if (fileLimits && name.size() + 1 > kMaxWrittenSubkey) return Refuse(problem, "key name too long: " + name);
      PendingKey child;
      if (reg::OpenKey(at.key, name, child.key) != reg::kSuccess) return Refuse(problem, "cannot open key " + name);
      child.relative = Join(at.relative, name);
      children.push_back(std::move(child));
    }
    for (auto it = children.rbegin(); it != children.rend(); ++it) stack.push_back(std::move(*it));
  }
  return true;
}

int ExportDisplay(const char* displayKeyPath, const char* filePath, uint32_t magic) {
  if (!displayKeyPath || !filePath || !*filePath) return 0;
  std::vector<DisplayRecord> records;
  reg::Key key;
  const bool exists = reg::OpenKey(reg::Hive::CurrentUser, displayKeyPath, key) == reg::kSuccess;
  // A missing display gives a file with the magic alone.
  if (exists && !CollectDisplayRecords(displayKeyPath, records)) return 0;
  if (!WriteWhole(filePath, SerializeDisplayFile(records, magic))) return 0;
  return exists ? 1 : 0;
}

}  // namespace fluxo
