#include "platform/registry/registry.h"

#include <cstring>

#include "platform/registry/key_names.h"
#include "platform/registry/store.h"
#include "platform/system/folders.h"

namespace fluxo::reg {
namespace {

using store::Session;
using store::Statement;

Key RootKey(Hive hive) { return Key{hive, static_cast<int64_t>(hive) + 1}; }

bool IsRoot(const Key& key) { return key.id <= 3; }

// kSuccess while the key's row exists; a handle to a deleted key answers 1018.
long CheckKey(Session& s, int64_t id) {
  Statement st = s.Prepare("SELECT 1 FROM keys WHERE id=?1");
  switch (st.Bind(1, id).Step()) {
    case SQLITE_ROW: return kSuccess;
    case SQLITE_DONE: return kErrorKeyDeleted;
    default: return kErrorRegistryIoFailed;
  }
}

// The error for a lookup under `key` that found nothing: `missing` while the
// key itself still exists.
long Missing(Session& s, int64_t key, long missing) {
  long rc = CheckKey(s, key);
  return rc == kSuccess ? missing : rc;
}

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

// Follows `path` down from `parent`; with `create`, makes missing keys.
long Walk(Session& s, const Key& parent, std::string_view path, bool create, Key& out, bool* created) {
  if (!parent.IsOpen()) return kErrorInvalidHandle;
  if (created) *created = false;
  std::vector<std::string_view> parts = names::SplitPath(path);
  if (parts.empty()) {
    long rc = CheckKey(s, parent.id);
    if (rc == kSuccess) out = parent;
    return rc;
  }
  Key at = parent;
  for (std::string_view part : parts) {
    if (part.size() > names::kMaxKeyName || !names::IsStorableName(part))
      return create ? kErrorInvalidParameter : kErrorFileNotFound;
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
  if ((size && !data) || name.size() > names::kMaxValueName || !names::IsStorableName(name))
    return kErrorInvalidParameter;
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
    Key target;
    if (long rc = OpenKey(parent, subkey, target); rc != kSuccess) return rc;
    std::string child;
    long rc;
    // Always the first child: each pass removes the one before.
    while ((rc = EnumKey(target, 0, child)) == kSuccess)
      if ((rc = DeleteTree(target, child)) != kSuccess) return rc;
    return rc == kErrorNoMoreItems ? DeleteKey(parent, subkey) : rc;
  });
}

long EnumKey(const Key& key, uint32_t index, std::string& name) {
  if (!key.IsOpen()) return kErrorInvalidHandle;
  Session s;
  if (!s.Ok()) return kErrorRegistryIoFailed;
  int rc;
  {
    Statement st = s.Prepare("SELECT name FROM keys WHERE parent=?1 ORDER BY fold LIMIT 1 OFFSET ?2");
    rc = st.Bind(1, key.id).Bind(2, static_cast<int64_t>(index)).Step();
    if (rc == SQLITE_ROW) {
      name = st.Text(0);
      return kSuccess;
    }
  }
  return rc == SQLITE_DONE ? Missing(s, key.id, kErrorNoMoreItems) : kErrorRegistryIoFailed;
}

long EnumValue(const Key& key, uint32_t index, std::string& name, uint32_t* type, std::vector<uint8_t>* data) {
  if (!key.IsOpen()) return kErrorInvalidHandle;
  Session s;
  if (!s.Ok()) return kErrorRegistryIoFailed;
  int rc;
  {
    // Upserts keep their row, so rowid order is creation order.
    Statement st = s.Prepare("SELECT name, type, data FROM vals WHERE key=?1 ORDER BY rowid LIMIT 1 OFFSET ?2");
    rc = st.Bind(1, key.id).Bind(2, static_cast<int64_t>(index)).Step();
    if (rc == SQLITE_ROW) {
      name = st.Text(0);
      if (type) *type = static_cast<uint32_t>(st.Int(1));
      if (data) *data = st.Blob(2);
      return kSuccess;
    }
  }
  return rc == SQLITE_DONE ? Missing(s, key.id, kErrorNoMoreItems) : kErrorRegistryIoFailed;
}

}  // namespace fluxo::reg
