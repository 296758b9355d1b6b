// Enumeration by index. Callers walk 0, 1, 2, ...; each thread remembers
// where its last step ended, so the next index is one seek in an index
// instead of a scan past all entries before it. A position is trusted only
// while nothing it depends on can have changed.
#include <string>

#include "platform/registry/key_rows.h"
#include "platform/registry/registry.h"
#include "platform/registry/store.h"

namespace fluxo::reg {
namespace {

using store::Session;
using store::Statement;

struct Cursor {
  store::ChangeStamp stamp;
  int64_t key = 0;
  uint32_t index = 0;
  std::string fold;   // subkeys: the folded name at `index`
  int64_t rowid = 0;  // values: the row at `index`

  bool Follows(const store::ChangeStamp& now, int64_t at, uint32_t wanted) const {
    return key == at && index + 1 == wanted && stamp == now;
  }
};

thread_local Cursor t_subkeys;
thread_local Cursor t_values;

}  // namespace

long EnumKey(const Key& key, uint32_t index, std::string& name) {
  if (!key.IsOpen()) return kErrorInvalidHandle;
  Session s;
  if (!s.Ok()) return kErrorRegistryIoFailed;
  const store::ChangeStamp stamp = s.Stamp();
  Cursor& cursor = t_subkeys;
  int rc;
  {
    const bool next = cursor.Follows(stamp, key.id, index);
    Statement st = next ? s.Prepare("SELECT name, fold FROM keys WHERE parent=?1 AND fold>?2 ORDER BY fold LIMIT 1")
                        : s.Prepare("SELECT name, fold FROM keys WHERE parent=?1 ORDER BY fold LIMIT 1 OFFSET ?2");
    st.Bind(1, key.id);
    if (next)
      st.Bind(2, cursor.fold);
    else
      st.Bind(2, static_cast<int64_t>(index));
    rc = st.Step();
    if (rc == SQLITE_ROW) {
      name = st.Text(0);
      cursor = Cursor{stamp, key.id, index, st.Text(1), 0};
      return kSuccess;
    }
  }
  return rc == SQLITE_DONE ? Missing(s, key.id, kErrorNoMoreItems) : kErrorRegistryIoFailed;
}

long EnumValue(const Key& key, uint32_t index, std::string& name, uint32_t* type, std::vector<uint8_t>* data) {
  if (!key.IsOpen()) return kErrorInvalidHandle;
  Session s;
  if (!s.Ok()) return kErrorRegistryIoFailed;
  const store::ChangeStamp stamp = s.Stamp();
  Cursor& cursor = t_values;
  int rc;
  {
    // Upserts keep their row, so rowid order is creation order.
    const bool next = cursor.Follows(stamp, key.id, index);
    Statement st =
        next ? s.Prepare("SELECT rowid, name, type, data FROM vals WHERE key=?1 AND rowid>?2 ORDER BY rowid LIMIT 1")
             : s.Prepare("SELECT rowid, name, type, data FROM vals WHERE key=?1 ORDER BY rowid LIMIT 1 OFFSET ?2");
    st.Bind(1, key.id).Bind(2, next ? cursor.rowid : static_cast<int64_t>(index));
    rc = st.Step();
    if (rc == SQLITE_ROW) {
      name = st.Text(1);
      if (type) *type = static_cast<uint32_t>(st.Int(2));
      if (data) *data = st.Blob(3);
      cursor = Cursor{stamp, key.id, index, {}, st.Int(0)};
      return kSuccess;
    }
  }
  return rc == SQLITE_DONE ? Missing(s, key.id, kErrorNoMoreItems) : kErrorRegistryIoFailed;
}

}  // namespace fluxo::reg
