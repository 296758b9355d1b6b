#include "app/display_command.h"

#include <sstream>

#include "app/display_show.h"
#include "app/module_table_setup.h"
#include "platform/registry/key_names.h"
#include "platform/registry/registry.h"
#include "settings/display_file.h"
#include "settings/saved_displays.h"

namespace fluxo {
namespace {

const char kUsage[] =
    "usage: fluxo display list | show NAME | export NAME FILE | import FILE [--name NAME] [--force] | "
    "delete NAME | activate NAME";

// Thrown by a command to fail: the store rolls back whatever it did.
struct CommandError {
  std::string text;
};

// The display's name as stored, found whatever the case it is given in.
std::string StoredName(const std::string& name) {
  if (IsStorableDisplayName(name))
    for (const std::string& stored : ListDisplays())
      if (reg::names::Fold(stored) == reg::names::Fold(name)) return stored;
  throw CommandError{"no display \"" + name + "\""};
}

std::string BaseName(const std::string& path) {
  std::string base = path.substr(path.find_last_of('/') + 1);
  size_t dot = base.find_last_of('.');
  if (dot != std::string::npos && dot > 0) base.erase(dot);
  return base;
}

void List(std::ostream& out) {
  int active = -1;
  std::vector<std::string> names = ListDisplays(&active);
  for (size_t i = 0; i < names.size(); ++i)
    out << (static_cast<int>(i) == active ? "* " : "  ") << names[i] << "\n";
}

void Export(const std::string& name, const std::string& file) {
  const std::string stored = StoredName(name);
  std::vector<DisplayRecord> records;
  std::string problem;
  if (!CollectDisplayRecords(DisplayKeyPath(stored), records, &problem))
    throw CommandError{"cannot export \"" + stored + "\": " + problem};
  if (!ExportDisplay(DisplayKeyPath(stored).c_str(), file.c_str())) throw CommandError{"cannot write \"" + file + "\""};
}

void Import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string file, name;
  bool force = false;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--force") {
      force = true;
    } else if (args[i] == "--name") {
      if (++i >= args.size()) throw CommandError{"--name needs a display name"};
      name = args[i];
    } else if (file.empty() && !args[i].empty() && args[i][0] != '-') {
      file = args[i];
    } else {
      throw CommandError{"unexpected \"" + args[i] + "\"; " + kUsage};
    }
  }
  if (file.empty()) throw CommandError{"import needs a file"};
  if (name.empty()) name = BaseName(file);
  if (!IsStorableDisplayName(name))
    throw CommandError{"\"" + name + "\" cannot be a display name (1 to 127 bytes, no backslash); use --name"};
  if (DisplayExists(name) && !force)
    throw CommandError{"display \"" + name + "\" exists; --force replaces it"};
  ImportReport report = ImportDisplayReport(file.c_str(), name.c_str());
  switch (report.outcome) {
    case ImportOutcome::Imported: break;
    case ImportOutcome::ImportedTruncated:
      err << "fluxo display: warning: \"" << file << "\" breaks off at byte " << report.badOffset << "; imported the "
          << report.records << " values before it\n";
      break;
    default: throw CommandError{"cannot import \"" + file + "\": " + report.detail};
  }
  out << name << "\n";
}

// Runs one command; any failure undoes what it wrote.
void Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const std::string& command = args[0];
  auto want = [&](size_t count) {
    if (args.size() != count) throw CommandError{std::string("wrong number of arguments; ") + kUsage};
  };
  // Every start of the program makes the presets first; so does this.
  EnsureStartupDisplays();
  if (command == "list") {
    want(1);
    List(out);
  } else if (command == "show") {
    want(2);
    ShowDisplay(StoredName(args[1]), out);
  } else if (command == "export") {
    want(3);
    Export(args[1], args[2]);
  } else if (command == "import") {
    Import(args, out, err);
  } else if (command == "delete") {
    want(2);
    if (!DeleteDisplay(StoredName(args[1]).c_str())) throw CommandError{"cannot delete \"" + args[1] + "\""};
  } else if (command == "activate") {
    want(2);
    if (WriteActiveDisplay(StoredName(args[1])) != reg::kSuccess) throw CommandError{"cannot write \"Active\""};
  } else {
    throw CommandError{"unknown command \"" + command + "\"; " + kUsage};
  }
}

}  // namespace

int RunDisplayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) {
    err << "fluxo display: " << kUsage << "\n";
    return 1;
  }
  PrepareModuleTable();
  // Output is held back until the command has succeeded.
  std::ostringstream held, warnings;
  std::string failure;
  long rc = reg::InTransaction([&]() -> long {
    try {
      Run(args, held, warnings);
      return reg::kSuccess;
    } catch (const CommandError& e) {
      failure = e.text;
      return reg::kErrorInvalidParameter;
    }
  });
  if (rc != reg::kSuccess) {
    err << "fluxo display: " << (failure.empty() ? "the settings store failed" : failure) << "\n";
    return 1;
  }
  out << held.str();
  err << warnings.str();
  return 0;
}

}  // namespace fluxo
