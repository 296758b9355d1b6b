#pragma once
#include <cstdint>
#include <vector>

namespace fluxo {

// The "Active" value exactly as stored (type and bytes, any length), so that
// a run which changes it for a while can put back what was there.
struct ActiveValue {
  bool present = false;
  uint32_t type = 0;
  std::vector<uint8_t> bytes;
};

ActiveValue ReadActiveValue();
// Writes the value back, or deletes "Active" when there was none.
void RestoreActiveValue(const ActiveValue& value);

}  // namespace fluxo
