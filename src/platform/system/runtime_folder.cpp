#include "platform/system/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace fluxo {

void EnsureRuntimeFolder() {
  if (const char* set = std::getenv("XDG_RUNTIME_DIR"); set && *set) return;
  const std::string folder = "/tmp/fluxo-runtime-" + std::to_string(getuid());
  mkdir(folder.c_str(), 0700);
  struct stat info {};
  // Only a folder that is ours alone will do; otherwise leave the variable unset.
  if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid() ||
      (info.st_mode & 0777) != 0700)
    return;
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

}  // namespace fluxo
