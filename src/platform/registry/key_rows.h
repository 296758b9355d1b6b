#pragma once
#include <cstdint>

#include "platform/registry/store.h"

// Checks on key rows that the registry's operations share.
namespace fluxo::reg {

// kSuccess while the key's row exists; a handle to a deleted key answers 1018.
long CheckKey(store::Session& s, int64_t id);
// The error for a lookup under `key` that found nothing: `missing` while the
// key itself still exists.
long Missing(store::Session& s, int64_t key, long missing);

}  // namespace fluxo::reg
