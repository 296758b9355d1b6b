#include "settings/display_file.h"

#include <cstring>
#include <string_view>

namespace fluxo {
namespace {

uint32_t Le32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

void PutLe32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Reads one record field by field; every length is checked against its limit
// before anything is taken, so no length in the file sizes a buffer.
class RecordReader {
 public:
  RecordReader(const uint8_t* bytes, size_t size, size_t pos) : bytes_(bytes), size_(size), pos_(pos) {}

  DisplayFileStatus Read(DisplayRecord& record) {
    if (auto s = Text(kMaxRecordPath, record.path); s != DisplayFileStatus::Complete) return s;
    if (auto s = Text(kMaxRecordName, record.name); s != DisplayFileStatus::Complete) return s;
    if (!Number(record.type)) return DisplayFileStatus::Truncated;
    uint32_t length = 0;
    if (!Number(length)) return DisplayFileStatus::Truncated;
    if (length > kMaxRecordData) return DisplayFileStatus::BadRecord;
    if (Left() < length) return DisplayFileStatus::Truncated;
    record.data.assign(bytes_ + pos_, bytes_ + pos_ + length);
    pos_ += length;
    return DisplayFileStatus::Complete;
  }
  size_t Position() const { return pos_; }

 private:
  size_t Left() const { return size_ - pos_; }

  bool Number(uint32_t& out) {
    if (Left() < 4) return false;
    out = Le32(bytes_ + pos_);
    pos_ += 4;
    return true;
  }

  // A length that counts the terminating zero, then the text with its zero.
  DisplayFileStatus Text(uint32_t limit, std::string& out) {
    uint32_t length = 0;
    if (!Number(length)) return DisplayFileStatus::Truncated;
    if (length == 0 || length > limit) return DisplayFileStatus::BadRecord;
    if (Left() < length) return DisplayFileStatus::Truncated;
    const char* text = reinterpret_cast<const char*>(bytes_ + pos_);
    if (text[length - 1] != '\0') return DisplayFileStatus::BadRecord;
    out.assign(text, strnlen(text, length));
    pos_ += length;
    return DisplayFileStatus::Complete;
  }

  const uint8_t* bytes_;
  size_t size_;
  size_t pos_;
};

void PutText(std::vector<uint8_t>& out, const std::string& text) {
  PutLe32(out, static_cast<uint32_t>(text.size() + 1));
  out.insert(out.end(), text.begin(), text.end());
  out.push_back(0);
}

bool Allowed(unsigned char c) {
  static constexpr std::string_view kAllowed = "$%'-_@ ~`!(){.}^#&+,;=[]";
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
         kAllowed.find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

ParsedDisplayFile ParseDisplayFile(const uint8_t* bytes, size_t size, uint32_t magic) {
  ParsedDisplayFile parsed;
  if (!bytes || size < 4 || Le32(bytes) != magic) return parsed;
  parsed.status = DisplayFileStatus::Complete;
  size_t pos = 4;
  while (pos < size) {
    RecordReader reader(bytes, size, pos);
    DisplayRecord record;
    DisplayFileStatus status = reader.Read(record);
    if (status != DisplayFileStatus::Complete) {
      parsed.status = status;
      parsed.badOffset = pos;
      break;
    }
    parsed.records.push_back(std::move(record));
    pos = reader.Position();
  }
  return parsed;
}

std::vector<uint8_t> SerializeDisplayFile(const std::vector<DisplayRecord>& records, uint32_t magic) {
  std::vector<uint8_t> out;
  PutLe32(out, magic);
  for (const DisplayRecord& record : records) {
    PutText(out, record.path);
    PutText(out, record.name);
    PutLe32(out, record.type);
    PutLe32(out, static_cast<uint32_t>(record.data.size()));
    out.insert(out.end(), record.data.begin(), record.data.end());
  }
  return out;
}

std::string ExportFileName(const std::string& displayName) {
  std::string name = displayName;
  for (char& c : name)
    if (!Allowed(static_cast<unsigned char>(c))) c = '_';
  return name;
}

}  // namespace fluxo
