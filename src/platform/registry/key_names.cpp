#include "platform/registry/key_names.h"

#include <array>

#include "platform/registry/letter_case.h"
#include "platform/registry/registry.h"
#include "platform/registry/text_encoding.h"

namespace fluxo::reg {
namespace names {

std::string Fold(std::string_view name) {
  std::string folded;
  folded.reserve(name.size());
  uint32_t cp;
  for (size_t at = 0; at < name.size();) {
    if (static_cast<uint8_t>(name[at]) < 0x80) {
      folded += static_cast<char>(text::UpperCase(static_cast<uint8_t>(name[at++])));
    } else if (size_t start = at; text::NextCodePoint(name, at, cp)) {
      text::AppendUtf8(folded, text::UpperCase(cp));
    } else {
      folded += name[start];
    }
  }
  return folded;
}

bool IsStorableName(std::string_view name) { return name.find_first_of(std::string_view("\0\r\n", 3)) == std::string_view::npos; }

const char* KeyPathFault(std::string_view path, size_t baseDepth) {
  std::vector<std::string_view> parts = SplitPath(path);
  if (baseDepth + parts.size() > kMaxKeyDepth) return "key path deeper than 512 levels";
  for (std::string_view part : parts) {
    if (!IsStorableName(part)) return "key name holds a line break or a zero";
    if (part.size() > kMaxKeyName && text::CharacterCount(part) > kMaxKeyName)
      return "key name longer than 255 characters";
  }
  return nullptr;
}

const char* ValueNameFault(std::string_view name) {
  if (!IsStorableName(name)) return "value name holds a line break or a zero";
  if (name.size() > kMaxValueName && text::CharacterCount(name) > kMaxValueName)
    return "value name longer than 16383 characters";
  return nullptr;
}

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  while (!path.empty()) {
    size_t cut = path.find('\\');
    std::string_view part = path.substr(0, cut);
    if (!part.empty()) parts.push_back(part);
    if (cut == std::string_view::npos) break;
    path.remove_prefix(cut + 1);
  }
  return parts;
}

}  // namespace names

namespace {

struct HiveAlias {
  const char* shortName;
  const char* longName;
  Hive hive;
};

constexpr std::array<HiveAlias, 3> kHives{{
    {"HKCU", "HKEY_CURRENT_USER", Hive::CurrentUser},
    {"HKLM", "HKEY_LOCAL_MACHINE", Hive::LocalMachine},
    {"HKCR", "HKEY_CLASSES_ROOT", Hive::ClassesRoot},
}};

}  // namespace

bool ParseKeyPath(std::string_view text, Hive& hive, std::string& path) {
  size_t cut = text.find('\\');
  std::string head = names::Fold(text.substr(0, cut));
  for (const HiveAlias& alias : kHives) {
    if (head != alias.shortName && head != alias.longName) continue;
    hive = alias.hive;
    path = cut == std::string_view::npos ? std::string() : std::string(text.substr(cut + 1));
    return true;
  }
  return false;
}

const char* HiveName(Hive hive) {
  for (const HiveAlias& alias : kHives)
    if (alias.hive == hive) return alias.longName;
  return "";
}

}  // namespace fluxo::reg
