#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/registry/registry.h"
#include "settings/display_file.h"
#include "settings/saved_displays.h"

namespace fluxo {
namespace {

bool ReadWholeFile(const char* path, std::vector<uint8_t>& bytes, std::string& problem) {
  int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    problem = "cannot open the file";
    return false;
  }
  struct stat info;
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  if (!ok) problem = "not a regular file";
  if (ok && static_cast<uint64_t>(info.st_size) > kMaxDisplayFileSize) {
    problem = "file too large";
    ok = false;
  }
  // Read to the end rather than trust the size: the file may change meanwhile.
  uint8_t chunk[65536];
  while (ok) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0) {
      problem = "cannot read the file";
      ok = false;
    } else if (n == 0) {
      break;
    } else if (bytes.size() + static_cast<size_t>(n) > kMaxDisplayFileSize) {
      problem = "file too large";
      ok = false;
    } else {
      bytes.insert(bytes.end(), chunk, chunk + n);
    }
  }
  close(fd);
  return ok;
}

long WriteRecords(const std::string& displayPath, const std::vector<DisplayRecord>& records, std::string& problem) {
  std::string openPath;
  reg::Key key;
  for (const DisplayRecord& record : records) {
    const std::string path = record.path.empty() ? displayPath : displayPath + "\\" + record.path;
    if (!key.IsOpen() || path != openPath) {
      if (long rc = reg::CreateKey(reg::Hive::CurrentUser, path, key); rc != reg::kSuccess) {
        problem = "cannot create the key \"" + record.path + "\"";
        return rc;
      }
      openPath = path;
    }
    const uint32_t size = static_cast<uint32_t>(record.data.size());
    if (long rc = reg::SetValue(key, record.name, record.type, record.data.data(), size); rc != reg::kSuccess) {
      problem = "cannot store the value \"" + record.name + "\" of \"" + record.path + "\"";
      return rc;
    }
  }
  return reg::kSuccess;
}

}  // namespace

long ReplaceDisplay(const std::string& name, const std::vector<DisplayRecord>& records, std::string* problem) {
  if (!IsStorableDisplayName(name)) return reg::kErrorBadKey;
  std::string text;
  long rc = reg::InTransaction([&] {
    DeleteDisplay(name.c_str());
    return WriteRecords(DisplayKeyPath(name), records, text);
  });
  if (problem) *problem = text;
  return rc;
}

ImportReport ImportDisplayBytes(const uint8_t* bytes, size_t size, const char* name, uint32_t magic) {
  ImportReport report;
  if (!name || !IsStorableDisplayName(name)) {
    report.outcome = ImportOutcome::StoreFailed;
    report.detail = "not a usable display name";
    return report;
  }
  // The whole file is checked before the old display is touched.
  ParsedDisplayFile parsed = ParseDisplayFile(bytes, size, magic);
  report.badOffset = parsed.badOffset;
  switch (parsed.status) {
    case DisplayFileStatus::NotADisplayFile:
      report.outcome = ImportOutcome::NotADisplayFile;
      report.detail = "not a display file";
      return report;
    case DisplayFileStatus::BadRecord:
      report.outcome = ImportOutcome::BadRecord;
      report.detail = "bad record at byte " + std::to_string(parsed.badOffset);
      return report;
    case DisplayFileStatus::Truncated:
    case DisplayFileStatus::Complete:
      break;
  }
  std::string problem;
  if (ReplaceDisplay(name, parsed.records, &problem) != reg::kSuccess) {
    report.outcome = ImportOutcome::StoreFailed;
    report.detail = problem.empty() ? "the settings store failed" : problem;
    return report;
  }
  report.records = parsed.records.size();
  report.outcome = parsed.status == DisplayFileStatus::Truncated ? ImportOutcome::ImportedTruncated
                                                                 : ImportOutcome::Imported;
  if (parsed.status == DisplayFileStatus::Truncated)
    report.detail = "the file breaks off at byte " + std::to_string(parsed.badOffset);
  return report;
}

ImportReport ImportDisplayReport(const char* path, const char* name, uint32_t magic) {
  ImportReport report;
  std::vector<uint8_t> bytes;
  if (!path || !ReadWholeFile(path, bytes, report.detail)) {
    report.outcome = ImportOutcome::CannotOpen;
    return report;
  }
  return ImportDisplayBytes(bytes.data(), bytes.size(), name, magic);
}

int ImportDisplay(const char* path, const char* name) {
  ImportOutcome outcome = ImportDisplayReport(path, name).outcome;
  return outcome == ImportOutcome::Imported || outcome == ImportOutcome::ImportedTruncated ? 1 : 0;
}

}  // namespace fluxo
