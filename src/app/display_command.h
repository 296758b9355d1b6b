#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace fluxo {

// `fluxo display list|show|export|import|delete|activate`: the saved displays
// for people and scripts. `args` are the words after "display". Errors are one
// line on `err` with status 1, and a failed command changes nothing.
int RunDisplayCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace fluxo
