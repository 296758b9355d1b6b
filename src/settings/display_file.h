#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fluxo {

// A display file (.FLX): the magic word, then one record per value of the
// display's subtree (relative key path, value name, type, data), all integers
// little-endian u32 and texts zero-terminated.
constexpr uint32_t kDisplayFileMagic = 0x42004200;  // the bytes 00 42 00 42

// Limits of a record as written and as read.
constexpr uint32_t kMaxRecordPath = 260;       // key path with its zero
constexpr uint32_t kMaxRecordName = 260;       // value name with its zero (128 when written)
constexpr uint32_t kMaxWrittenName = 128;
constexpr uint32_t kMaxWrittenSubkey = 256;    // one subkey name with its zero
constexpr uint32_t kMaxRecordData = 1024;
// Larger files are refused before they are read.
constexpr size_t kMaxDisplayFileSize = 64u << 20;

struct DisplayRecord {
  std::string path;  // "" for the display key itself, else "Modules\Bezier", "Palette"
  std::string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
  bool operator==(const DisplayRecord&) const = default;
};

enum class DisplayFileStatus {
  Complete,         // every record whole
  Truncated,        // the file breaks off inside a record: the records before it
  NotADisplayFile,  // no magic word
  BadRecord,        // a length beyond the limits or a text without its zero
};

struct ParsedDisplayFile {
  DisplayFileStatus status = DisplayFileStatus::NotADisplayFile;
  std::vector<DisplayRecord> records;
  size_t badOffset = 0;  // where the bad or broken record starts
};

ParsedDisplayFile ParseDisplayFile(const uint8_t* bytes, size_t size, uint32_t magic = kDisplayFileMagic);
std::vector<uint8_t> SerializeDisplayFile(const std::vector<DisplayRecord>& records,
                                          uint32_t magic = kDisplayFileMagic);

// The records of a key's subtree in file order: its values in enumeration
// order, then each subkey depth first. False when the key cannot be opened or
// a value breaks the written limits (`problem` says which). Without
// `fileLimits` any stored tree is taken (a snapshot to put back later).
bool CollectDisplayRecords(const std::string& keyPath, std::vector<DisplayRecord>& records,
                           std::string* problem = nullptr, bool fileLimits = true);
// Deletes the display `name` and writes the records in its place, in one
// transaction: on failure the old display stays.
long ReplaceDisplay(const std::string& name, const std::vector<DisplayRecord>& records, std::string* problem = nullptr);

// 1 if the display key could be walked and the file written. The file is
// replaced whole or not at all.
int ExportDisplay(const char* displayKeyPath, const char* filePath, uint32_t magic = kDisplayFileMagic);

enum class ImportOutcome {
  Imported,
  ImportedTruncated,  // what came before the broken record was imported
  CannotOpen,
  NotADisplayFile,
  BadRecord,
  StoreFailed,  // a key or value could not be written: nothing was changed
};
struct ImportReport {
  ImportOutcome outcome = ImportOutcome::CannotOpen;
  size_t records = 0;
  size_t badOffset = 0;
  std::string detail;
};
// Replaces the display `name` by the file's records in one transaction of the
// store. A refused file changes nothing.
ImportReport ImportDisplayReport(const char* path, const char* name, uint32_t magic = kDisplayFileMagic);
// The same from bytes in memory.
ImportReport ImportDisplayBytes(const uint8_t* bytes, size_t size, const char* name, uint32_t magic = kDisplayFileMagic);

// The file name the export proposes for a display: every character that is
// not an ASCII letter or digit nor one of "$%'-_@ ~`!(){.}^#&+,;=[]" becomes "_".
std::string ExportFileName(const std::string& displayName);

// The shell association of .FLX files in the classes hive. A null path means
// the running program.
int RegisterFileType(const char* programPath);

}  // namespace fluxo
