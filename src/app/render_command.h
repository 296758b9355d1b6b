#pragma once
#include <ostream>
#include <string>
#include <vector>

namespace fluxo {

// `fluxo render`: runs the saver headless for a time and writes the presented
// frame as PNG. `args` are the words after "render".
int RunRenderCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace fluxo
