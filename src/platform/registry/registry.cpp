#include "platform/registry/registry.h"

#include <cstring>

#include "platform/registry/key_names.h"
#include "platform/registry/key_rows.h"
#include "platform/registry/store.h"
#include "platform/system/folders.h"

namespace fluxo::reg {

using store::Session;
using store::Statement;

long CheckKey(Session& s, int64_t id) {
  Statement st = s.Prepare("SELECT 1 FROM keys WHERE id=?1");
  switch (st.Bind(1, id).Step()) {
    case SQLITE_ROW: return kSuccess;
    case SQLITE_DONE: return kErrorKeyDeleted;
    default: return kErrorRegistryIoFailed;
  }
}

long Missing(Session& s, int64_t key, long missing) {
  long rc = CheckKey(s, key);
  return rc == kSuccess ? missing : rc;
}

namespace {

Key RootKey(Hive hive) { return Key{hive, static_cast<int64_t>(hive) + 1}; }

bool IsRoot(const Key& key) { return key.id <= 3; }

long FindChild(Session& s, int64_t parent, std::string_view name, int64_t& child) {
  Statement st = s.Prepare("SELECT id FROM keys WHERE parent=?1 AND fold=?2");
  switch (st.Bind(1, parent).Bind(2, names::Fold(name)).Step()) {
    case SQLITE_ROW: child = st.Int(0); return kSuccess;
    case SQLITE_DONE: return kErrorFileNotFound;
    default: return kErrorRegistryIoFailed;
  }
}

long InsertChild(Session& s, const Key& parent, std::string_view name, int64_t& child) {
  Statement st = s.Prepare("INSERT INTO keys(parent, hive, name, fold) VALUES(?1, ?2, ?3, ?4) RETURNING id");
  st.Bind(1, parent.id).Bind(2, static_cast<int64_t>(parent.hive)).Bind(3, name).Bind(4, names::Fold(name));
  int rc = st.Step();
  if (rc == SQLITE_ROW) child = st.Int(0);
  while (rc == SQLITE_ROW) rc = st.Step();
  return rc == SQLITE_DONE ? kSuccess : kErrorRegistryIoFailed;
}

// The stored names from the hive's root down to `id`, in order; a deleted
// key gives kErrorKeyDeleted. One query, however deep the key lies.
long Ancestry(Session& s, int64_t id, std::vector<std::string>* names, size_t& depth) {
  if (id <= 3) {
    depth = 0;
    return kSuccess;
  }
  Statement st = s.Prepare(
      "WITH RECURSIVE up(id, parent, name, n) AS ("
      " SELECT id, parent, name, 0 FROM keys WHERE id=?1"
      " UNION ALL SELECT k.id, k.parent, k.name, up.n+1 FROM keys k JOIN up ON k.id=up.parent)"
      " SELECT name FROM up WHERE parent IS NOT NULL ORDER BY n DESC");
  st.Bind(1, id);
  depth = 0;
  int rc;
  while ((rc = st.Step()) == SQLITE_ROW) {
    ++depth;
    if (names) names->push_back(st.Text(0));
  }
  if (rc != SQLITE_DONE) return kErrorRegistryIoFailed;
  return depth > 0 ? kSuccess : kErrorKeyDeleted;
}

// Follows `path` down from `parent`; with `create`, makes missing keys, and
// refuses before changing anything a path the platform could not hold.
long Walk(Session& s, const Key& parent, std::string_view path, bool create, Key& out, bool* created) {
  if (!parent.IsOpen()) return kErrorInvalidHandle;
  if (created) *created = false;
  std::vector<std::string_view> parts = names::SplitPath(path);
  if (parts.empty()) {
    long rc = CheckKey(s, parent.id);
    if (rc == kSuccess) out = parent;
    return rc;
  }
  if (create) {
    size_t depth = 0;
    if (long rc = Ancestry(s, parent.id, nullptr, depth); rc != kSuccess) return rc;
    if (names::KeyPathFault(path, depth)) return kErrorInvalidParameter;
  }
  Key at = parent;
  for (std::string_view part : parts) {
    if (!create && names::KeyPathFault(part)) return kErrorFileNotFound;
    int64_t child = 0;
    long rc = FindChild(s, at.id, part, child);
    if (rc == kErrorFileNotFound && at.id == parent.id) rc = Missing(s, parent.id, rc);
    if (rc == kErrorFileNotFound && create) {
      rc = InsertChild(s, at, part, child);
      if (rc == kSuccess && created) *created = true;
    }
    if (rc != kSuccess) return rc;
    at.id = child;
  }
  out = at;
  return kSuccess;
}

void Undo(Session& s, bool outer) {
  if (outer) {
    s.Exec("ROLLBACK");
  } else {
    s.Exec("ROLLBACK TO nested");
    s.Exec("RELEASE nested");
  }
}

}  // namespace

std::string StorePath() { return ConfigFolder() + "/registry.sqlite"; }

void CloseStore() { store::Close(); }

long InTransaction(const std::function<long()>& work) {
  Session s;
  if (!s.Ok()) return kErrorRegistryIoFailed;
  int& depth = s.Depth();
  const bool outer = depth == 0;
  // IMMEDIATE takes the write lock up front, so a transaction never has to
  // give up half-way because another process wrote first.
  if (s.Exec(outer ? "BEGIN IMMEDIATE" : "SAVEPOINT nested") != SQLITE_OK) return kErrorRegistryIoFailed;
  ++depth;
  long rc;
  try {
    rc = work();
  } catch (...) {
    --depth;
    Undo(s, outer);
    throw;
  }
  --depth;
  if (rc == kSuccess && s.Exec(outer ? "COMMIT" : "RELEASE nested") != SQLITE_OK) rc = kErrorRegistryIoFailed;
  if (rc != kSuccess) Undo(s, outer);
  return rc;
}

long OpenKey(Hive hive, std::string_view path, Key& out) { return OpenKey(RootKey(hive), path, out); }

long OpenKey(const Key& parent, std::string_view subkey, Key& out) {
  Session s;
  if (!s.Ok()) return kErrorRegistryIoFailed;
  return Walk(s, parent, subkey, false, out, nullptr);
}

long CreateKey(Hive hive, std::string_view path, Key& out, bool* created) {
  return CreateKey(RootKey(hive), path, out, created);
}

long CreateKey(const Key& parent, std::string_view subkey, Key& out, bool* created) {
  Key made;
  bool madeNew = false;
  long rc = InTransaction([&] {
    Session s;
    return Walk(s, parent, subkey, true, made, &madeNew);
  });
  if (rc == kSuccess) out = made;
  if (created) *created = rc == kSuccess && madeNew;
  return rc;
}

long QueryValue(const Key& key, std::string_view name, uint32_t* type, void* data, uint32_t* size) {
  if (!key.IsOpen()) return kErrorInvalidHandle;
  if (data && !size) return kErrorInvalidParameter;
  Session s;
  if (!s.Ok()) return kErrorRegistryIoFailed;
  long rc;
  {
    Statement st = s.Prepare("SELECT type, data FROM vals WHERE key=?1 AND fold=?2");
    rc = st.Bind(1, key.id).Bind(2, names::Fold(name)).Step();
    if (rc == SQLITE_ROW) {
      uint32_t needed = st.BlobSize(1);
      if (type) *type = static_cast<uint32_t>(st.Int(0));
      if (data && *size < needed) {
        *size = needed;
        return kErrorMoreData;
      }
      if (data && needed) std::memcpy(data, st.BlobData(1), needed);
      if (size) *size = needed;
      return kSuccess;
    }
  }
  return rc == SQLITE_DONE ? Missing(s, key.id, kErrorFileNotFound) : kErrorRegistryIoFailed;
}

long SetValue(const Key& key, std::string_view name, uint32_t type, const void* data, uint32_t size) {
  if (!key.IsOpen()) return kErrorInvalidHandle;
  if ((size && !data) || names::ValueNameFault(name)) return kErrorInvalidParameter;
  if (type == kRegDword && size != 4) return kErrorInvalidParameter;
  std::vector<uint8_t> text;
  if (type == kRegSz) {
    // Texts are kept with their terminating zero, so every reader gets one.
    const auto* bytes = static_cast<const uint8_t*>(data);
    if (size == 0 || bytes[size - 1] != 0) {
      text.assign(bytes, bytes + size);
      text.push_back(0);
      data = text.data();
      size = static_cast<uint32_t>(text.size());
    }
  }
  Session s;
  if (!s.Ok()) return kErrorRegistryIoFailed;
  Statement st = s.Prepare(
      "INSERT INTO vals(key, name, fold, type, data) VALUES(?1, ?2, ?3, ?4, ?5) "
      "ON CONFLICT(key, fold) DO UPDATE SET type=excluded.type, data=excluded.data");
  st.Bind(1, key.id).Bind(2, name).Bind(3, names::Fold(name)).Bind(4, static_cast<int64_t>(type));
  st.BindBlob(5, data, size);
  switch (st.Step()) {
    case SQLITE_DONE: return kSuccess;
    case SQLITE_CONSTRAINT: return kErrorKeyDeleted;  // the key's row is gone
    default: return kErrorRegistryIoFailed;
  }
}

long DeleteValue(const Key& key, std::string_view name) {
  if (!key.IsOpen()) return kErrorInvalidHandle;
  Session s;
  if (!s.Ok()) return kErrorRegistryIoFailed;
  int rc;
  {
    Statement st = s.Prepare("DELETE FROM vals WHERE key=?1 AND fold=?2");
    rc = st.Bind(1, key.id).Bind(2, names::Fold(name)).Step();
  }
  if (rc != SQLITE_DONE) return kErrorRegistryIoFailed;
  return s.Changes() > 0 ? kSuccess : Missing(s, key.id, kErrorFileNotFound);
}

long DeleteKey(const Key& parent, std::string_view subkey) {
  if (!parent.IsOpen()) return kErrorInvalidHandle;
  if (names::SplitPath(subkey).empty()) return kErrorBadKey;
  return InTransaction([&]() -> long {
    Session s;
    Key target;
    if (long rc = Walk(s, parent, subkey, false, target, nullptr); rc != kSuccess) return rc;
    if (IsRoot(target)) return kErrorAccessDenied;
    {
      Statement children = s.Prepare("SELECT 1 FROM keys WHERE parent=?1 LIMIT 1");
      int rc = children.Bind(1, target.id).Step();
      if (rc == SQLITE_ROW) return kErrorAccessDenied;
      if (rc != SQLITE_DONE) return kErrorRegistryIoFailed;
    }
    Statement erase = s.Prepare("DELETE FROM keys WHERE id=?1");
    return erase.Bind(1, target.id).Step() == SQLITE_DONE ? kSuccess : kErrorRegistryIoFailed;
  });
}

long DeleteTree(const Key& parent, std::string_view subkey) {
  if (!parent.IsOpen()) return kErrorInvalidHandle;
  if (names::SplitPath(subkey).empty()) return kErrorBadKey;
  return InTransaction([&]() -> long {
    Session s;
    Key target;
    if (long rc = Walk(s, parent, subkey, false, target, nullptr); rc != kSuccess) return rc;
    if (IsRoot(target)) return kErrorAccessDenied;
    // SQLite walks the tree with a queue, so no depth can exhaust a stack;
    // the values go with their keys.
    Statement erase = s.Prepare(
        "WITH RECURSIVE tree(id) AS (SELECT ?1 UNION ALL SELECT k.id FROM keys k JOIN tree ON k.parent=tree.id)"
        " DELETE FROM keys WHERE id IN tree");
    return erase.Bind(1, target.id).Step() == SQLITE_DONE ? kSuccess : kErrorRegistryIoFailed;
  });
}

long KeyPath(const Key& key, std::string& path) {
  if (!key.IsOpen()) return kErrorInvalidHandle;
  Session s;
  if (!s.Ok()) return kErrorRegistryIoFailed;
  std::vector<std::string> parts;
  size_t depth = 0;
  if (long rc = Ancestry(s, key.id, &parts, depth); rc != kSuccess) return rc;
  path.clear();
  for (const std::string& part : parts) path += (path.empty() ? "" : "\\") + part;
  return kSuccess;
}

}  // namespace fluxo::reg
