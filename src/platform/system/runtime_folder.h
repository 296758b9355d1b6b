#pragma once

namespace fluxo {

// Without XDG_RUNTIME_DIR (a plain ssh or cron session) the toolkit complains
// on every start; give it a private folder of ours (mode 0700) instead.
void EnsureRuntimeFolder();

}  // namespace fluxo
