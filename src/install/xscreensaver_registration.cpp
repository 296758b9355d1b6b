#include "install/xscreensaver_registration.h"

#include <sys/stat.h>

#include <cctype>
#include <filesystem>
#include <optional>
#include <vector>

#include "install/file_copy.h"
#include "install/install_layout.h"
#include "platform/system/folders.h"
#include "platform/system/install_folders.h"

namespace fluxo::install {
namespace {

constexpr char kEntryEnd[] = "\\n";  // the two characters that end an entry

// One resource of the file: its physical lines, joined by backslash ends.
struct Resource {
  std::string name;       // without a leading '*', lower case
  size_t valueStart = 0;  // first byte after the colon
  size_t end = 0;         // end of the last physical line (before its line break)
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsBlankText(const std::string& text, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i)
    if (!IsBlank(text[i])) return false;
  return true;
}

// The start of the physical line that ends at `end`.
size_t LineStart(const std::string& text, size_t end) {
  const size_t lineBreak = end == 0 ? std::string::npos : text.rfind('\n', end - 1);
  return lineBreak == std::string::npos ? 0 : lineBreak + 1;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
  return s.substr(a, b - a);
}

std::vector<Resource> FindResources(const std::string& text) {
  std::vector<Resource> resources;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = pos;
    size_t end;
    // A logical line goes on while a physical line ends in a backslash.
    for (;;) {
      end = text.find('\n', pos);
      if (end == std::string::npos) end = text.size();
      const bool continued = end > pos && text[end - 1] == '\\';
      pos = end < text.size() ? end + 1 : end;
      if (!continued || pos >= text.size()) break;
    }
    const char first = text[start];
    const size_t colon = text.find(':', start);
    if (first != '#' && first != '!' && colon != std::string::npos && colon < end) {
      std::string name = Trim(text.substr(start, colon - start));
      if (!name.empty() && name[0] == '*') name.erase(0, 1);
      resources.push_back({Lower(name), colon + 1, end});
    }
  }
  return resources;
}

const Resource* Find(const std::vector<Resource>& resources, const char* name) {
  for (const Resource& r : resources)
    if (r.name == name) return &r;
  return nullptr;
}

// The entry as a plain command: no disabling dash, no visual prefix, single blanks.
std::string Normalized(std::string entry) {
  entry = Trim(entry);
  if (!entry.empty() && entry[0] == '-') entry = Trim(entry.substr(1));
  const size_t space = entry.find_first_of(" \t");
  const size_t colon = entry.find(':');
  if (colon != std::string::npos && (space == std::string::npos || colon < space))
    entry = Trim(entry.substr(colon + 1));
  std::string single;
  for (char c : entry) {
    if (IsBlank(c) && (single.empty() || single.back() == ' ')) continue;
    single.push_back(IsBlank(c) ? ' ' : c);
  }
  return Trim(single);
}

std::vector<std::string> Entries(const std::string& value) {
  std::string joined;
  for (size_t i = 0; i < value.size(); ++i) {
    // A backslash ends a continued line; before a carriage return (a file
    // with CRLF line ends) it continues nothing and leaves only a blank.
    if (value[i] == '\\' && i + 1 < value.size() && (value[i + 1] == '\n' || value[i + 1] == '\r')) {
      ++i;
      continue;
    }
    joined.push_back(value[i]);
  }
  std::vector<std::string> entries;
  size_t pos = 0;
  while (pos <= joined.size()) {
    size_t next = joined.find(kEntryEnd, pos);
    if (next == std::string::npos) next = joined.size();
    const std::string entry = Trim(joined.substr(pos, next - pos));
    if (!entry.empty()) entries.push_back(entry);
    pos = next + 2;
  }
  return entries;
}

std::string EntryLine(const std::string& command) { return "\t\t" + command + "\t\t\t\t    " + kEntryEnd; }

// Sets a one-line resource's value, or appends the resource.
void SetValue(std::string& text, const char* name, const std::string& value) {
  const std::vector<Resource> resources = FindResources(text);
  if (const Resource* r = Find(resources, name)) {
    size_t valueStart = r->valueStart;
    while (valueStart < r->end && IsBlank(text[valueStart])) ++valueStart;
    text.replace(valueStart, r->end - valueStart, value);
    return;
  }
  if (!text.empty() && text.back() != '\n') text.push_back('\n');
  text += std::string(name) + ":\t\t" + value + "\n";
}

}  // namespace

std::string XScreenSaverCommand(const std::string& saverPath) {
  // The list is sh syntax: quote a path that needs it.
  const bool plain =
      saverPath.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/._-+,=@%") ==
      std::string::npos;
  std::string path = saverPath;
  if (!plain) {
    path = "'";
    for (char c : saverPath) path += c == '\'' ? std::string("'\\''") : std::string(1, c);
    path += "'";
  }
  return path + " -root";
}

XScreenSaverEdit SelectSaverProgram(const std::string& fileText, const std::string& command) {
  XScreenSaverEdit edit;
  std::string text = fileText;
  if (text.empty()) text = "# XScreenSaver Preferences File\n# The saver was added by Fluxo's setup.\n\n";
  const std::vector<Resource> resources = FindResources(text);
  const Resource* programs = Find(resources, "programs");
  if (!programs) {
    if (!text.empty() && text.back() != '\n') text.push_back('\n');
    text += "programs:\t\t\\\n" + EntryLine(command) + "\n";
    edit.index = 0;
  } else {
    const std::vector<std::string> entries =
        Entries(text.substr(programs->valueStart, programs->end - programs->valueStart));
    const std::string wanted = Normalized(command);
    for (size_t i = 0; i < entries.size() && edit.index < 0; ++i)
      if (Normalized(entries[i]) == wanted) edit.index = static_cast<int>(i);
    if (edit.index < 0) {
      // A list continued into blank lines gets the entry before them, so
      // that they stay as they are.
      size_t end = programs->end;
      bool intoBlankLines = false;
      for (size_t start = LineStart(text, end); start > programs->valueStart && IsBlankText(text, start, end);
           start = LineStart(text, end)) {
        end = start - 1;  // the line break after the continuing backslash
        intoBlankLines = true;
      }
      std::string last = text.substr(programs->valueStart, end - programs->valueStart);
      while (!last.empty() && IsBlank(last.back())) last.pop_back();
      if (intoBlankLines && !last.empty()) last.pop_back();  // the continuing backslash
      while (!last.empty() && IsBlank(last.back())) last.pop_back();
      const bool endsEntry = last.size() >= 2 && last.compare(last.size() - 2, 2, kEntryEnd) == 0;
      const std::string entryEnd = entries.empty() || endsEntry ? "" : kEntryEnd;
      if (intoBlankLines) {
        text.insert(end + 1, EntryLine(command) + "\\\n");
        text.insert(end - 1, entryEnd);
      } else {
        // Continue the last line and put the entry on a line of its own.
        text.insert(end, entryEnd + "\\\n" + EntryLine(command));
      }
      edit.index = static_cast<int>(entries.size());
    }
  }
  SetValue(text, "mode", "one");
  SetValue(text, "selected", std::to_string(edit.index));
  edit.changed = text != fileText;
  edit.text = std::move(text);
  return edit;
}

bool RegisterWithXScreenSaver(const std::string& saverPath) {
  const std::string home = UserHomeFolder();
  if (!EnsureFolder(home)) return false;
  // A file kept elsewhere and linked into the home folder (as dotfile
  // managers do) is edited where it lives, and the link stays.
  std::string file = home + "/" + kXScreenSaverFile;
  std::error_code ec;
  if (std::filesystem::is_symlink(file, ec)) {
    const std::filesystem::path target = std::filesystem::canonical(file, ec);
    if (ec) return false;
    file = target.string();
  }
  std::string old;
  struct stat st;
  const bool exists = stat(file.c_str(), &st) == 0;
  if (exists && !ReadWholeFile(file, old)) return false;
  const XScreenSaverEdit edit = SelectSaverProgram(old, XScreenSaverCommand(saverPath));
  if (!edit.changed) return true;
  if (exists && !CopyFileReplacing(file, home + "/" + kXScreenSaverBackup)) return false;
  return WriteFileAtomically(file, edit.text, exists ? (st.st_mode & 07777) : 0644);
}

}  // namespace fluxo::install
