#include "platform/registry/reg_file.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/registry/key_names.h"
#include "platform/registry/text_encoding.h"

namespace fluxo::reg {

const char kRegFileHeader[] = "Windows Registry Editor Version 5.00";
const char kRegFileHeader4[] = "REGEDIT4";

namespace {

// Export lines are wrapped before this many columns, as the platform's editor does.
constexpr size_t kWrapColumn = 76;
constexpr char kLineEnd[] = "\r\n";

// REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ: in a version 5 file their hex form
// is UTF-16LE, as the platform keeps them; the store keeps UTF-8.
bool IsTextType(uint32_t type) { return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz; }

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

// A text that survives a round trip as "...": one terminating zero, no other
// zero, no line break.
bool IsPlainText(const std::vector<uint8_t>& data) {
  if (data.empty() || data.back() != 0) return false;
  for (size_t i = 0; i + 1 < data.size(); ++i)
    if (data[i] == 0 || data[i] == '\n' || data[i] == '\r') return false;
  return true;
}

void AppendHex(std::string& out, std::string_view data) {
  size_t lineStart = out.rfind('\n') + 1;
  for (size_t i = 0; i < data.size(); ++i) {
    char byte[3];
    std::snprintf(byte, sizeof byte, "%02x", static_cast<uint8_t>(data[i]));
    out += byte;
    if (i + 1 == data.size()) break;
    out += ',';
    if (out.size() - lineStart > kWrapColumn) {
      out += "\\";
      out += kLineEnd;
      out += "  ";
      lineStart = out.size() - 2;
    }
  }
}

void AppendValue(std::string& out, RegFileFormat format, const std::string& name, uint32_t type,
                 const std::vector<uint8_t>& data) {
  out += name.empty() ? "@=" : Quote(name) + "=";
  const std::string_view bytes(reinterpret_cast<const char*>(data.data()), data.size());
  if (type == kRegSz && IsPlainText(data)) {
    out += Quote(bytes.substr(0, bytes.size() - 1));
  } else if (type == kRegDword && data.size() == 4) {
    uint32_t v = data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24;
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", v);
    out += text;
  } else {
    char prefix[24];
    if (type == kRegBinary)
      std::snprintf(prefix, sizeof prefix, "hex:");
    else
      std::snprintf(prefix, sizeof prefix, "hex(%x):", type);
    out += prefix;
    AppendHex(out, format == RegFileFormat::Version5 && IsTextType(type) ? text::ToUtf16Le(bytes) : std::string(bytes));
  }
  out += kLineEnd;
}

// Key by key, values before subkeys, without recursion: a stored tree of
// any depth is walked with a heap-allocated stack, and refused (bad key)
// where it goes deeper than a key path may.
long ExportTree(const Key& top, const std::string& topName, size_t topDepth, RegFileFormat format, std::string& out) {
  struct Pending {
    Key key;
    std::string name;
    size_t depth;
  };
  std::vector<Pending> pending{{top, topName, topDepth}};
  std::string name;
  std::vector<std::string> children;
  while (!pending.empty()) {
    Pending at = std::move(pending.back());
    pending.pop_back();
    if (at.depth > names::kMaxKeyDepth) return kErrorBadKey;
    out += "[" + at.name + "]" + kLineEnd;
    uint32_t type = 0;
    std::vector<uint8_t> data;
    long rc;
    for (uint32_t i = 0; (rc = EnumValue(at.key, i, name, &type, &data)) == kSuccess; ++i)
      AppendValue(out, format, name, type, data);
    if (rc != kErrorNoMoreItems) return rc;
    out += kLineEnd;
    children.clear();
    for (uint32_t i = 0; (rc = EnumKey(at.key, i, name)) == kSuccess; ++i) children.push_back(name);
    if (rc != kErrorNoMoreItems) return rc;
    for (auto child = children.rbegin(); child != children.rend(); ++child) {
      Key key;
      if (long err = OpenKey(at.key, *child, key); err != kSuccess) return err;
      pending.push_back({key, at.name + "\\" + *child, at.depth + 1});
    }
  }
  return kSuccess;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

bool IsHexDigits(std::string_view s, size_t maxDigits) {
  if (s.empty() || s.size() > maxDigits) return false;
  for (char c : s)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

uint32_t HexValue(std::string_view s) { return static_cast<uint32_t>(std::stoul(std::string(s), nullptr, 16)); }

// A quoted name or text at the front of `s`, with \\ and \" unescaped; `s`
// is left after the closing quote.
bool ReadQuoted(std::string_view& s, std::string& out) {
  if (s.empty() || s.front() != '"') return false;
  s.remove_prefix(1);
  while (!s.empty()) {
    char c = s.front();
    s.remove_prefix(1);
    if (c == '"') return true;
    if (c == '\\') {
      if (s.empty() || (s.front() != '\\' && s.front() != '"')) return false;
      c = s.front();
      s.remove_prefix(1);
    }
    out += c;
  }
  return false;
}

// "01,02,ff" (spaces allowed, empty allowed, a trailing comma tolerated).
bool ReadHexBytes(std::string_view s, std::vector<uint8_t>& out) {
  s = Trim(s);
  while (!s.empty()) {
    size_t comma = s.find(',');
    std::string_view item = Trim(s.substr(0, comma));
    if (!IsHexDigits(item, 2)) return false;
    out.push_back(static_cast<uint8_t>(HexValue(item)));
    if (comma == std::string_view::npos) break;
    s = Trim(s.substr(comma + 1));
  }
  return true;
}

// What a value line asks for.
struct ValueLine {
  std::string name;
  bool remove = false;
  uint32_t type = kRegSz;
  std::vector<uint8_t> data;
};

const char* ParseValueData(std::string_view s, bool utf16Texts, ValueLine& value) {
  if (s == "-") {
    value.remove = true;
    return nullptr;
  }
  if (!s.empty() && s.front() == '"') {
    std::string text;
    if (!ReadQuoted(s, text) || !Trim(s).empty()) return "malformed text";
    value.data.assign(text.begin(), text.end());
    value.data.push_back(0);
    return nullptr;
  }
  if (s.substr(0, 6) == "dword:") {
    std::string_view digits = Trim(s.substr(6));
    if (!IsHexDigits(digits, 8)) return "malformed dword";
    uint32_t v = HexValue(digits);
    value.type = kRegDword;
    value.data = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                  static_cast<uint8_t>(v >> 24)};
    return nullptr;
  }
  if (s.substr(0, 4) != "hex:" && s.substr(0, 4) != "hex(") return "unknown value data";
  value.type = kRegBinary;
  if (s[3] == '(') {
    size_t close = s.find("):");
    if (close == std::string_view::npos || !IsHexDigits(s.substr(4, close - 4), 8)) return "malformed value type";
    value.type = HexValue(s.substr(4, close - 4));
    s.remove_prefix(close + 2);
  } else {
    s.remove_prefix(4);
  }
  if (!ReadHexBytes(s, value.data)) return "malformed hex data";
  if (value.type == kRegDword && value.data.size() != 4) return "a dword needs four bytes";
  if (utf16Texts && IsTextType(value.type)) {
    if (value.data.size() % 2 != 0) return "text data in UTF-16 needs an even number of bytes";
    std::string utf8 = text::FromUtf16Le(std::string_view(reinterpret_cast<const char*>(value.data.data()), value.data.size()));
    value.data.assign(utf8.begin(), utf8.end());
  }
  return nullptr;
}

const char* ParseValueLine(std::string_view s, bool utf16Texts, ValueLine& value) {
  if (s.front() == '@') {
    s.remove_prefix(1);
  } else if (!ReadQuoted(s, value.name)) {
    return "malformed value name";
  }
  if (const char* fault = names::ValueNameFault(value.name)) return fault;
  s = Trim(s);
  if (s.empty() || s.front() != '=') return "missing '='";
  return ParseValueData(Trim(s.substr(1)), utf16Texts, value);
}

// Physical lines joined where a line ends in a backslash continuation.
struct LogicalLine {
  int number;
  std::string text;
};

// Whether a value line stops inside a quoted name or text; a backslash
// there is part of the text, never a continuation.
bool EndsInsideQuotes(std::string_view line) {
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"')
      quoted = !quoted;
    else if (quoted && line[i] == '\\')
      ++i;
  }
  return quoted;
}

std::vector<LogicalLine> JoinLines(std::string_view text) {
  std::vector<LogicalLine> lines;
  bool continued = false;
  int number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++number;
    if (!continued) lines.push_back({number, ""});
    std::string& joined = lines.back().text;
    joined += line;
    continued = !joined.empty() && joined.back() == '\\' && joined.front() != '[' && joined.front() != ';' &&
                !EndsInsideQuotes(joined);
    if (continued) joined.pop_back();
  }
  return lines;
}

class Importer {
 public:
  // kSuccess, or a registry code / kErrorInvalidParameter with error_ set.
  long Apply(std::string_view text) {
    std::vector<LogicalLine> lines = JoinLines(text);
    size_t at = 0;
    while (at < lines.size() && lines[at].text.empty()) ++at;
    if (at == lines.size() || (lines[at].text != kRegFileHeader && lines[at].text != kRegFileHeader4))
      return Fail(at < lines.size() ? lines[at].number : 1, "not a registry export (no header line)");
    utf16Texts_ = lines[at].text == kRegFileHeader;
    for (++at; at < lines.size(); ++at) {
      const std::string& line = lines[at].text;
      if (line.empty() || line.front() == ';') continue;
      long rc = line.front() == '[' ? KeyLine(lines[at].number, line) : ValueLineAt(lines[at].number, line);
      if (rc != kSuccess) return rc;
    }
    return kSuccess;
  }

  const std::string& Error() const { return error_; }

 private:
  long Fail(int line, const std::string& what, long code = kErrorInvalidParameter) {
    error_ = "line " + std::to_string(line) + ": " + what;
    return code;
  }

  long KeyLine(int number, std::string_view line) {
    if (line.back() != ']') return Fail(number, "malformed key line");
    line = line.substr(1, line.size() - 2);
    bool remove = !line.empty() && line.front() == '-';
    if (remove) line.remove_prefix(1);
    Hive hive;
    std::string path;
    if (!ParseKeyPath(line, hive, path)) return Fail(number, "unknown root key \"" + std::string(line) + "\"");
    current_ = Key{};
    Key root;
    if (long rc = OpenKey(hive, "", root); rc != kSuccess) return Fail(number, "cannot open the root key", rc);
    if (remove) {
      if (names::SplitPath(path).empty()) return Fail(number, "a whole hive cannot be deleted");
      long rc = DeleteTree(root, path);
      return rc == kSuccess || rc == kErrorFileNotFound ? kSuccess : Fail(number, "cannot delete the key", rc);
    }
    if (const char* fault = names::KeyPathFault(path)) return Fail(number, fault);
    long rc = CreateKey(root, path, current_);
    return rc == kSuccess ? kSuccess : Fail(number, "cannot create the key", rc);
  }

  long ValueLineAt(int number, std::string_view line) {
    ValueLine value;
    if (const char* fault = ParseValueLine(line, utf16Texts_, value)) return Fail(number, fault);
    if (!current_.IsOpen()) return Fail(number, "value outside a key");
    if (value.remove) {
      long rc = DeleteValue(current_, value.name);
      return rc == kSuccess || rc == kErrorFileNotFound ? kSuccess : Fail(number, "cannot delete the value", rc);
    }
    long rc = SetValue(current_, value.name, value.type, value.data.data(), static_cast<uint32_t>(value.data.size()));
    return rc == kSuccess ? kSuccess : Fail(number, "cannot write the value", rc);
  }

  Key current_;
  bool utf16Texts_ = false;
  std::string error_;
};

}  // namespace

long ExportKey(Hive hive, std::string_view path, std::string& text, RegFileFormat format) {
  std::string out = std::string(format == RegFileFormat::Version5 ? kRegFileHeader : kRegFileHeader4) + kLineEnd + kLineEnd;
  // One transaction gives a consistent picture while other processes write.
  long rc = InTransaction([&] {
    Key key;
    std::string stored;
    if (long err = OpenKey(hive, path, key); err != kSuccess) return err;
    if (long err = KeyPath(key, stored); err != kSuccess) return err;
    std::string fullName = HiveName(hive);
    if (!stored.empty()) fullName += "\\" + stored;
    return ExportTree(key, fullName, names::SplitPath(stored).size(), format, out);
  });
  if (rc != kSuccess) return rc;
  text = format == RegFileFormat::Version5 ? "\xFF\xFE" + text::ToUtf16Le(out) : std::move(out);
  return kSuccess;
}

bool ImportText(std::string_view text, std::string& error) {
  std::string utf8 = text::ToUtf8(text);
  Importer importer;
  long rc = InTransaction([&] { return importer.Apply(utf8); });
  if (rc == kSuccess) return true;
  error = importer.Error().empty() ? "the settings store failed (code " + std::to_string(rc) + ")" : importer.Error();
  return false;
}

}  // namespace fluxo::reg
