#include "uninstall/xscreensaver_programs.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace fluxo::uninstall {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Trimmed(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (IsBlank(s[b]) || s[b] == '\n')) ++b;
  while (e > b && (IsBlank(s[e - 1]) || s[e - 1] == '\n')) --e;
  return std::string(s.substr(b, e - b));
}

struct Line {
  size_t begin = 0;
  size_t end = 0;  // the '\n' or the end of the text
};

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    lines.push_back({begin, end});
    begin = end + 1;
  }
  return lines;
}

bool EndsWithBackslash(const std::string& text, const Line& line) {
  return line.end > line.begin && text[line.end - 1] == '\\';
}

// Where the value of resource `name` starts on this line ("name:" at the
// start of the line, blanks allowed before it), or npos.
size_t ValueStart(const std::string& text, const Line& line, std::string_view name) {
  size_t p = line.begin;
  while (p < line.end && IsBlank(text[p])) ++p;
  if (text.compare(p, name.size(), name) != 0 || p + name.size() >= line.end || text[p + name.size()] != ':')
    return std::string::npos;
  return p + name.size() + 1;
}

// The "programs" value joined over its continued lines, with the file
// position of every character.
struct ProgramsBlock {
  size_t first = 0, last = 0;  // line indices
  size_t valueStart = 0;
  std::string value;
  std::vector<size_t> at;
};

std::optional<ProgramsBlock> FindPrograms(const std::string& text, const std::vector<Line>& lines) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const size_t start = ValueStart(text, lines[i], "programs");
    if (start == std::string::npos) continue;
    ProgramsBlock block;
    block.first = i;
    block.valueStart = start;
    for (size_t k = i; k < lines.size(); ++k) {
      const bool continued = EndsWithBackslash(text, lines[k]);
      const size_t from = k == i ? start : lines[k].begin;
      const size_t to = continued ? lines[k].end - 1 : lines[k].end;
      for (size_t p = from; p < to; ++p) {
        // A backslash before a carriage return (CRLF line ends) continues
        // nothing: to XScreenSaver the pair is a blank.
        if (text[p] == '\\' && p + 1 < to && text[p + 1] == '\r') {
          ++p;
          continue;
        }
        block.value.push_back(text[p]);
        block.at.push_back(p);
      }
      block.last = k;
      if (!continued) break;
    }
    return block;
  }
  return std::nullopt;
}

// One entry of the list: its characters in the joined value from the first
// that is not blank, with the "\n" that ends it.
struct Entry {
  size_t begin = 0, end = 0, separatorEnd = 0;
};

std::vector<Entry> SplitEntries(const std::string& value) {
  std::vector<Entry> entries;
  size_t begin = 0;
  while (begin <= value.size()) {
    size_t sep = value.find("\\n", begin);
    const size_t end = sep == std::string::npos ? value.size() : sep;
    const size_t separatorEnd = sep == std::string::npos ? value.size() : sep + 2;
    size_t first = begin;
    while (first < end && IsBlank(value[first])) ++first;
    if (first < end) entries.push_back({first, end, separatorEnd});
    if (sep == std::string::npos) break;
    begin = separatorEnd;
  }
  return entries;
}

size_t LineOf(const std::vector<Line>& lines, size_t position) {
  auto it = std::upper_bound(lines.begin(), lines.end(), position, [](size_t p, const Line& l) { return p < l.begin; });
  return static_cast<size_t>(it - lines.begin()) - 1;
}

bool AllBlank(const std::string& text, size_t from, size_t to) {
  return std::all_of(text.begin() + static_cast<long>(from), text.begin() + static_cast<long>(to), IsBlank);
}

// Marks the bytes of one entry for removal: its whole lines when it has them
// (from the line's start to its continuation mark) to itself.
void MarkEntry(const std::string& text, const std::vector<Line>& lines, const ProgramsBlock& block, const Entry& entry,
               std::vector<bool>& drop, std::vector<bool>& wholeLine) {
  const size_t a = block.at[entry.begin];
  const size_t lastChar = block.at[entry.separatorEnd - 1];
  const size_t la = LineOf(lines, a), lb = LineOf(lines, lastChar);
  const size_t contentEnd = lb != block.last ? lines[lb].end - 1 : lines[lb].end;
  size_t from = a, to = lastChar + 1;
  if (la != block.first && AllBlank(text, lines[la].begin, a) && AllBlank(text, to, contentEnd)) {
    from = lines[la].begin;
    to = std::min(drop.size(), lines[lb].end + 1);
    std::fill(wholeLine.begin() + static_cast<long>(la), wholeLine.begin() + static_cast<long>(lb) + 1, true);
  }
  std::fill(drop.begin() + static_cast<long>(from), drop.begin() + static_cast<long>(to), true);
}

// When the list's last line went, the line now ending the list must not
// continue into the next resource.
void EndListAtLastKeptLine(const std::string& text, const std::vector<Line>& lines, const ProgramsBlock& block,
                           const std::vector<bool>& wholeLine, std::vector<bool>& drop) {
  if (!wholeLine[block.last]) return;
  size_t k = block.last;
  while (k > block.first && wholeLine[k]) --k;
  if (EndsWithBackslash(text, lines[k])) drop[lines[k].end - 1] = true;
}

std::optional<std::string> ResourceValue(const std::string& text, std::string_view name) {
  for (const Line& line : SplitLines(text)) {
    const size_t start = ValueStart(text, line, name);
    if (start != std::string::npos) return Trimmed(std::string_view(text).substr(start, line.end - start));
  }
  return std::nullopt;
}

// The text with the value of resource `name` replaced, its blanks kept.
std::string WithResourceValue(const std::string& text, std::string_view name, const std::string& value) {
  for (const Line& line : SplitLines(text)) {
    size_t start = ValueStart(text, line, name);
    if (start == std::string::npos) continue;
    while (start < line.end && IsBlank(text[start])) ++start;
    size_t end = line.end;
    while (end > start && IsBlank(text[end - 1])) --end;
    return text.substr(0, start) + value + text.substr(end);
  }
  return text;
}

// The text without the line of resource `name`.
std::string WithoutResource(const std::string& text, std::string_view name) {
  for (const Line& line : SplitLines(text))
    if (ValueStart(text, line, name) != std::string::npos)
      return text.substr(0, line.begin) + text.substr(std::min(text.size(), line.end + 1));
  return text;
}

std::optional<int> NumberValue(const std::string& text, std::string_view name) {
  const auto value = ResourceValue(text, name);
  if (!value || value->empty()) return std::nullopt;
  char* end = nullptr;
  const long n = std::strtol(value->c_str(), &end, 10);
  if (*end != '\0') return std::nullopt;
  return static_cast<int>(n);
}

// "selected:" after the removal of the entries at `removed` (indices in the
// old list, ascending) from a list that keeps `remaining` entries.
std::string FollowSelection(std::string text, const std::vector<int>& removed, int remaining,
                            const std::optional<std::string>& before) {
  const auto selected = NumberValue(text, "selected");
  if (!selected) return text;
  if (std::find(removed.begin(), removed.end(), *selected) == removed.end()) {
    const auto below = std::count_if(removed.begin(), removed.end(), [&](int r) { return r < *selected; });
    return WithResourceValue(text, "selected", std::to_string(*selected - below));
  }
  if (before) {
    const auto oldMode = ResourceValue(*before, "mode");
    const auto oldSelected = NumberValue(*before, "selected");
    if (oldMode && oldSelected && *oldSelected >= 0 && *oldSelected < remaining) {
      text = WithResourceValue(text, "mode", *oldMode);
      return WithResourceValue(text, "selected", std::to_string(*oldSelected));
    }
    // A file without a selection had it added with Fluxo's entry: both go.
    if (!ResourceValue(*before, "selected")) {
      text = oldMode ? WithResourceValue(text, "mode", *oldMode) : WithoutResource(text, "mode");
      return WithoutResource(text, "selected");
    }
  }
  if (ResourceValue(text, "mode") == "one") text = WithResourceValue(text, "mode", "random");
  return WithResourceValue(text, "selected", remaining > 0 ? "0" : "-1");
}

// The first word of a command as the shell reads it: quotes and backslashes
// group and are removed (setup quotes a path that holds blanks or quotes).
std::string ShellWord(std::string_view command) {
  std::string word;
  char quote = 0;
  for (size_t i = 0; i < command.size(); ++i) {
    const char c = command[i];
    if (quote == '\'') {
      if (c == '\'')
        quote = 0;
      else
        word.push_back(c);
      continue;
    }
    // Within double quotes a backslash escapes only these.
    const bool escaped = c == '\\' && i + 1 < command.size() &&
                         (quote == 0 || std::string_view("\"\\$`").find(command[i + 1]) != std::string_view::npos);
    if (escaped) {
      word.push_back(command[++i]);
    } else if (quote == '"') {
      if (c == '"')
        quote = 0;
      else
        word.push_back(c);
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (IsBlank(c) || c == '\n') {
      break;
    } else {
      word.push_back(c);
    }
  }
  return word;
}

}  // namespace

std::string EntryProgram(const std::string& entry) {
  std::string_view rest = entry;
  auto skipBlanks = [&] {
    while (!rest.empty() && (IsBlank(rest.front()) || rest.front() == '\n')) rest.remove_prefix(1);
  };
  skipBlanks();
  if (!rest.empty() && rest.front() == '-') rest.remove_prefix(1);
  skipBlanks();
  // A visual such as "GL:" is one word ending in a colon.
  const size_t word = rest.find_first_of(" \t");
  if (word != std::string_view::npos && word > 0 && rest[word - 1] == ':') {
    rest.remove_prefix(word);
    skipBlanks();
  }
  if (!rest.empty() && rest.front() == '"') {
    const size_t close = rest.find('"', 1);
    rest.remove_prefix(close == std::string_view::npos ? rest.size() : close + 1);
    skipBlanks();
  }
  return ShellWord(rest);
}

ProgramsEdit RemoveProgramEntries(const std::string& text, const std::function<bool(const std::string&)>& isOurs,
                                  const std::optional<std::string>& before) {
  const std::vector<Line> lines = SplitLines(text);
  const auto block = FindPrograms(text, lines);
  if (!block) return {text, 0};
  const std::vector<Entry> entries = SplitEntries(block->value);
  std::vector<bool> drop(text.size(), false), wholeLine(lines.size(), false);
  std::vector<int> removed;
  for (size_t i = 0; i < entries.size(); ++i) {
    const Entry& e = entries[i];
    if (!isOurs(EntryProgram(block->value.substr(e.begin, e.end - e.begin)))) continue;
    MarkEntry(text, lines, *block, e, drop, wholeLine);
    removed.push_back(static_cast<int>(i));
  }
  if (removed.empty()) return {text, 0};
  EndListAtLastKeptLine(text, lines, *block, wholeLine, drop);
  std::string kept;
  kept.reserve(text.size());
  for (size_t p = 0; p < text.size(); ++p)
    if (!drop[p]) kept.push_back(text[p]);
  const int remaining = static_cast<int>(entries.size() - removed.size());
  return {FollowSelection(std::move(kept), removed, remaining, before), static_cast<int>(removed.size())};
}

}  // namespace fluxo::uninstall
