#include "install/desktop_entry.h"

#include <unistd.h>

#include "install/file_copy.h"
#include "install/install_layout.h"

namespace fluxo::install {
namespace {

// Characters that make a word need quotes in an Exec line.
constexpr char kReserved[] = " \t\n\"'\\><~|&;$*?#()`";

std::string QuoteExecWord(const std::string& word) {
  std::string quoted;
  const bool needsQuotes = word.empty() || word.find_first_of(kReserved) != std::string::npos;
  if (needsQuotes) quoted.push_back('"');
  for (char c : word) {
    if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\')) quoted.push_back('\\');
    if (c == '%') quoted.push_back('%');  // a literal percent sign, not a field code
    quoted.push_back(c);
  }
  if (needsQuotes) quoted.push_back('"');
  return quoted;
}

// Values of the file itself escape backslashes and line breaks.
std::string EscapeValue(const std::string& value) {
  std::string escaped;
  for (char c : value) {
    if (c == '\\')
      escaped += "\\\\";
    else if (c == '\n')
      escaped += "\\n";
    else if (c == '\t')
      escaped += "\\t";
    else if (c == '\r')
      escaped += "\\r";
    else
      escaped.push_back(c);
  }
  return escaped;
}

bool IsProgram(const std::string& target) { return !IsFolder(target) && access(target.c_str(), X_OK) == 0; }

}  // namespace

std::string DesktopExecLine(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    if (!line.empty()) line.push_back(' ');
    // Field codes such as %f pass through as they are.
    line += word.size() == 2 && word[0] == '%' ? word : QuoteExecWord(word);
  }
  return line;
}

std::string ApplicationEntryText(const std::string& name, const std::string& exec,
                                 const std::vector<std::string>& extraKeys) {
  std::string text = "[Desktop Entry]\nType=Application\nVersion=1.0\nName=" + EscapeValue(name) +
                     "\nExec=" + EscapeValue(exec) + "\n";
  for (const std::string& line : extraKeys) text += line + "\n";
  return text;
}

int CreateShortcut(const std::string& target, const std::string& linkPath, const std::string& description,
                   const std::vector<std::string>& arguments, const std::vector<std::string>& extraKeys) {
  if (target.empty() || linkPath.empty()) return 0;
  std::vector<std::string> words;
  if (IsProgram(target)) {
    words.push_back(target);
    words.insert(words.end(), arguments.begin(), arguments.end());
  } else {
    words = {"xdg-open", target};
  }
  // A link shows its file's name; its description, when it says more, is
  // the tooltip.
  std::string name = linkPath.substr(linkPath.rfind('/') + 1);
  if (name.ends_with(kShortcutSuffix)) name.resize(name.size() - std::string(kShortcutSuffix).size());
  std::vector<std::string> keys;
  if (description != name) keys.push_back("Comment=" + EscapeValue(description));
  if (IsFolder(target)) keys.push_back("Icon=folder");
  keys.insert(keys.end(), extraKeys.begin(), extraKeys.end());
  // Desktops only start entries on the desktop that are marked executable.
  return WriteFileAtomically(linkPath, ApplicationEntryText(name, DesktopExecLine(words), keys), 0755) ? 1 : 0;
}

}  // namespace fluxo::install
