#include "settings/reg_command.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>

#include "platform/registry/key_names.h"
#include "platform/registry/reg_file.h"
#include "platform/registry/registry.h"

namespace fluxo {
namespace {

constexpr char kDone[] = "The operation completed successfully.";
constexpr char kSyntax[] = "ERROR: Invalid syntax.";
constexpr char kBadKey[] = "ERROR: Invalid key name.";
constexpr char kNotFound[] = "ERROR: The system was unable to find the specified registry key or value.";

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return u;
}

// The words after the subcommand: operands and the reg tool's switches.
struct Request {
  std::vector<std::string> operands;
  std::optional<std::string> valueName;  // /v NAME, or "" for /ve
  std::optional<std::string> type;       // /t
  std::optional<std::string> data;       // /d
  bool force = false;                    // /f
  bool overwriteFile = false;            // /y
};

// Words that are not a known switch are operands, so a file path such as
// "/tmp/x.reg" stays a path.
bool Parse(const std::vector<std::string>& args, Request& r) {
  for (size_t i = 1; i < args.size(); ++i) {
    std::string word = Upper(args[i]);
    auto takeNext = [&](std::optional<std::string>& slot) {
      if (slot || i + 1 >= args.size()) return false;
      slot = args[++i];
      return true;
    };
    if (word == "/V") {
      if (!takeNext(r.valueName)) return false;
    } else if (word == "/VE") {
      if (r.valueName) return false;
      r.valueName = "";
    } else if (word == "/T") {
      if (!takeNext(r.type)) return false;
    } else if (word == "/D") {
      if (!takeNext(r.data)) return false;
    } else if (word == "/F") {
      r.force = true;
    } else if (word == "/Y") {
      r.overwriteFile = true;
    } else {
      r.operands.push_back(args[i]);
    }
  }
  return true;
}

struct KeyName {
  reg::Hive hive;
  std::string path;
  std::string display;  // HKEY_...\path as the tool prints it
};

std::optional<KeyName> ParseKey(const std::string& text) {
  KeyName k;
  if (!reg::ParseKeyPath(text, k.hive, k.path)) return std::nullopt;
  while (!k.path.empty() && k.path.back() == '\\') k.path.pop_back();
  k.display = reg::HiveName(k.hive);
  if (!k.path.empty()) k.display += "\\" + k.path;
  return k;
}

std::string TypeName(uint32_t type) {
  switch (type) {
    case reg::kRegNone: return "REG_NONE";
    case reg::kRegSz: return "REG_SZ";
    case reg::kRegExpandSz: return "REG_EXPAND_SZ";
    case reg::kRegBinary: return "REG_BINARY";
    case reg::kRegDword: return "REG_DWORD";
    case reg::kRegMultiSz: return "REG_MULTI_SZ";
    case reg::kRegQword: return "REG_QWORD";
    default: {
      char text[16];
      std::snprintf(text, sizeof text, "0x%x", type);
      return text;
    }
  }
}

// Little-endian number of `data.size()` bytes (4 or 8).
uint64_t Number(const std::vector<uint8_t>& data) {
  uint64_t v = 0;
  for (size_t i = data.size(); i-- > 0;) v = v << 8 | data[i];
  return v;
}

// As the reg tool shows data: texts as text (the strings of a REG_MULTI_SZ
// joined by a literal \0), numbers in hex, anything else as hex digits.
std::string DataText(uint32_t type, const std::vector<uint8_t>& data) {
  std::string text(data.begin(), data.end());
  if (type == reg::kRegSz || type == reg::kRegExpandSz) return text.substr(0, text.find('\0'));
  if (type == reg::kRegMultiSz) {
    std::string joined;
    for (size_t at = 0; at < text.size();) {
      size_t end = std::min(text.find('\0', at), text.size());
      if (end == at) break;  // the empty string that ends the list
      if (at > 0) joined += "\\0";
      joined += text.substr(at, end - at);
      at = end + 1;
    }
    return joined;
  }
  char part[24];
  if ((type == reg::kRegDword && data.size() == 4) || (type == reg::kRegQword && data.size() == 8)) {
    std::snprintf(part, sizeof part, "0x%llx", static_cast<unsigned long long>(Number(data)));
    return part;
  }
  std::string hex;
  for (uint8_t byte : data) {
    std::snprintf(part, sizeof part, "%02X", byte);
    hex += part;
  }
  return hex;
}

void PrintValue(std::ostream& out, const std::string& name, uint32_t type, const std::vector<uint8_t>& data) {
  out << "    " << (name.empty() ? "(Default)" : name) << "    " << TypeName(type) << "    " << DataText(type, data)
      << "\n";
}

// REG_SZ, REG_DWORD (decimal or 0x hex) or REG_BINARY (hex digits) as the
// bytes to store; nothing for malformed data.
std::optional<std::pair<uint32_t, std::vector<uint8_t>>> ParseData(const std::string& typeName, const std::string& data,
                                                                  std::string& fault) {
  std::string type = Upper(typeName);
  if (type == "REG_SZ") return std::pair{reg::kRegSz, std::vector<uint8_t>(data.begin(), data.end())};
  if (type == "REG_DWORD") {
    unsigned long long v = 0;
    size_t used = 0;
    bool hex = data.size() > 2 && data[0] == '0' && (data[1] == 'x' || data[1] == 'X');
    std::string digits = hex ? data.substr(2) : data;
    bool ok = !digits.empty() && digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") == std::string::npos;
    if (ok) {
      try {
        v = std::stoull(digits, &used, hex ? 16 : 10);
      } catch (const std::out_of_range&) {
        ok = false;
      }
    }
    if (!ok || v > 0xFFFFFFFFull) {
      fault = "ERROR: Invalid data for REG_DWORD: \"" + data + "\".";
      return std::nullopt;
    }
    auto n = static_cast<uint32_t>(v);
    return std::pair{reg::kRegDword, std::vector<uint8_t>{static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                                                          static_cast<uint8_t>(n >> 16), static_cast<uint8_t>(n >> 24)}};
  }
  if (type == "REG_BINARY") {
    std::vector<uint8_t> bytes;
    bool ok = data.size() % 2 == 0 && data.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
    for (size_t i = 0; ok && i < data.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoul(data.substr(i, 2), nullptr, 16)));
    if (!ok) {
      fault = "ERROR: Invalid data for REG_BINARY: \"" + data + "\" (pairs of hex digits).";
      return std::nullopt;
    }
    return std::pair{reg::kRegBinary, bytes};
  }
  fault = "ERROR: Unsupported type \"" + typeName + "\" (REG_SZ, REG_DWORD or REG_BINARY).";
  return std::nullopt;
}

bool ReadFile(const std::string& path, std::string& text) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream stream(path, std::ios::binary);
  if (!stream) return false;
  text.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
  return !stream.bad();
}

int Fail(std::ostream& err, const std::string& line) {
  err << line << "\n";
  return 1;
}

int Query(const Request& r, std::ostream& out, std::ostream& err) {
  if (r.operands.size() != 1 || r.type || r.data || r.force || r.overwriteFile) return Fail(err, kSyntax);
  auto name = ParseKey(r.operands[0]);
  if (!name) return Fail(err, kBadKey);
  std::ostringstream text;
  long rc = reg::InTransaction([&]() -> long {
    reg::Key key;
    if (long e = reg::OpenKey(name->hive, name->path, key); e != reg::kSuccess) return e;
    text << "\n" << name->display << "\n";
    uint32_t type = 0;
    std::vector<uint8_t> data;
    if (r.valueName) {
      uint32_t size = 0;
      if (long e = reg::QueryValue(key, *r.valueName, &type, nullptr, &size); e != reg::kSuccess) return e;
      data.resize(size);
      if (long e = reg::QueryValue(key, *r.valueName, &type, data.data(), &size); e != reg::kSuccess) return e;
      PrintValue(text, *r.valueName, type, data);
      text << "\n";
      return reg::kSuccess;
    }
    std::string entry;
    long e;
    for (uint32_t i = 0; (e = reg::EnumValue(key, i, entry, &type, &data)) == reg::kSuccess; ++i)
      PrintValue(text, entry, type, data);
    if (e != reg::kErrorNoMoreItems) return e;
    text << "\n";
    for (uint32_t i = 0; (e = reg::EnumKey(key, i, entry)) == reg::kSuccess; ++i) text << name->display << "\\" << entry << "\n";
    return e == reg::kErrorNoMoreItems ? reg::kSuccess : e;
  });
  if (rc != reg::kSuccess) return Fail(err, kNotFound);
  out << text.str();
  return 0;
}

int Add(const Request& r, std::ostream& out, std::ostream& err) {
  if (r.operands.size() != 1 || r.overwriteFile || ((r.type || r.data) && !r.valueName)) return Fail(err, kSyntax);
  auto name = ParseKey(r.operands[0]);
  if (!name) return Fail(err, kBadKey);
  if (const char* fault = reg::names::KeyPathFault(name->path))
    return Fail(err, std::string("ERROR: Invalid key name: ") + fault + ".");
  if (const char* fault = r.valueName ? reg::names::ValueNameFault(*r.valueName) : nullptr)
    return Fail(err, std::string("ERROR: Invalid value name: ") + fault + ".");
  std::string fault;
  auto value = ParseData(r.type.value_or("REG_SZ"), r.data.value_or(""), fault);
  if (!value) return Fail(err, fault);
  std::string refusal;
  long rc = reg::InTransaction([&]() -> long {
    reg::Key key;
    if (long e = reg::CreateKey(name->hive, name->path, key); e != reg::kSuccess) return e;
    if (!r.valueName) return reg::kSuccess;
    uint32_t size = 0;
    if (!r.force && reg::QueryValue(key, *r.valueName, nullptr, nullptr, &size) == reg::kSuccess) {
      refusal = "ERROR: The value \"" + (r.valueName->empty() ? std::string("(Default)") : *r.valueName) +
                "\" exists; add /f to overwrite it.";
      return reg::kErrorAccessDenied;
    }
    return reg::SetValue(key, *r.valueName, value->first, value->second.data(), static_cast<uint32_t>(value->second.size()));
  });
  if (rc != reg::kSuccess)
    return Fail(err, !refusal.empty() ? refusal : "ERROR: The settings store refused the change (code " + std::to_string(rc) + ").");
  out << kDone << "\n";
  return 0;
}

int Delete(const Request& r, std::ostream& out, std::ostream& err) {
  if (r.operands.size() != 1 || r.type || r.data || r.overwriteFile) return Fail(err, kSyntax);
  auto name = ParseKey(r.operands[0]);
  if (!name) return Fail(err, kBadKey);
  if (!r.valueName && name->path.empty()) return Fail(err, "ERROR: A whole hive cannot be deleted.");
  if (!r.force) return Fail(err, "ERROR: Deleting needs /f (there is no prompt to confirm).");
  long rc;
  if (r.valueName) {
    reg::Key key;
    rc = reg::OpenKey(name->hive, name->path, key);
    if (rc == reg::kSuccess) rc = reg::DeleteValue(key, *r.valueName);
  } else {
    reg::Key root;
    rc = reg::OpenKey(name->hive, "", root);
    if (rc == reg::kSuccess) rc = reg::DeleteTree(root, name->path);
  }
  if (rc == reg::kErrorFileNotFound) return Fail(err, kNotFound);
  if (rc != reg::kSuccess) return Fail(err, "ERROR: The settings store refused the change (code " + std::to_string(rc) + ").");
  out << kDone << "\n";
  return 0;
}

int Export(const Request& r, std::ostream& out, std::ostream& err) {
  if (r.operands.size() != 2 || r.valueName || r.type || r.data || r.force) return Fail(err, kSyntax);
  auto name = ParseKey(r.operands[0]);
  if (!name) return Fail(err, kBadKey);
  std::string text;
  switch (long rc = reg::ExportKey(name->hive, name->path, text)) {
    case reg::kSuccess: break;
    case reg::kErrorFileNotFound: return Fail(err, kNotFound);
    case reg::kErrorBadKey: return Fail(err, "ERROR: The key holds keys deeper than 512 levels; delete them first.");
    default: return Fail(err, "ERROR: The settings store failed (code " + std::to_string(rc) + ").");
  }
  // Without /y an existing file is kept: there is no prompt to ask.
  const std::string& file = r.operands[1];
  std::unique_ptr<FILE, int (*)(FILE*)> stream(std::fopen(file.c_str(), r.overwriteFile ? "wb" : "wbx"), std::fclose);
  if (!stream && errno == EEXIST) return Fail(err, "ERROR: \"" + file + "\" exists; add /y to overwrite it.");
  bool written = stream && std::fwrite(text.data(), 1, text.size(), stream.get()) == text.size();
  if (!written || std::fclose(stream.release()) != 0) return Fail(err, "ERROR: Cannot write \"" + file + "\".");
  out << kDone << "\n";
  return 0;
}

int Import(const Request& r, std::ostream& out, std::ostream& err) {
  if (r.operands.size() != 1 || r.valueName || r.type || r.data || r.force || r.overwriteFile) return Fail(err, kSyntax);
  const std::string& file = r.operands[0];
  std::string text;
  if (!ReadFile(file, text)) return Fail(err, "ERROR: Cannot read \"" + file + "\".");
  std::string fault;
  if (!reg::ImportText(text, fault)) return Fail(err, "ERROR: \"" + file + "\" " + fault + "; nothing was imported.");
  out << kDone << "\n";
  return 0;
}

}  // namespace

int RunRegCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  Request request;
  if (args.empty() || !Parse(args, request)) return Fail(err, kSyntax);
  const std::string command = Upper(args[0]);
  if (command == "QUERY") return Query(request, out, err);
  if (command == "ADD") return Add(request, out, err);
  if (command == "DELETE") return Delete(request, out, err);
  if (command == "EXPORT") return Export(request, out, err);
  if (command == "IMPORT") return Import(request, out, err);
  return Fail(err, kSyntax);
}

}  // namespace fluxo
