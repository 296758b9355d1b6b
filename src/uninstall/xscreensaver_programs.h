#pragma once
#include <functional>
#include <optional>
#include <string>

namespace fluxo::uninstall {

// The program word of one entry of XScreenSaver's "programs" list: the entry
// without its disabled mark "-", its visual ("GL:") and its quoted name,
// unquoted as the shell would.
// Empty for a blank entry.
std::string EntryProgram(const std::string& entry);

// The text of an XScreenSaver settings file without the entries of its
// "programs" list whose program word `isOurs` accepts. Every other byte stays
// as it was: an entry on a line of its own goes with its line, several on one
// line go one by one. "selected:" follows the entries that move up; when it
// named a removed entry, "mode:" and "selected:" come from `before` (the file
// as it was before the entry was added) if that selection still exists; a
// `before` without "selected:" takes back the lines setup added; otherwise
// the saver plays at random.
struct ProgramsEdit {
  std::string text;
  int removed = 0;
};
ProgramsEdit RemoveProgramEntries(const std::string& text, const std::function<bool(const std::string&)>& isOurs,
                                  const std::optional<std::string>& before);

}  // namespace fluxo::uninstall
