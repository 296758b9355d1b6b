#pragma once
#include <Qt>
#include <cstdint>

#include "engine/saver_window.h"

namespace fluxo {

// Virtual-key code for keys that have none of their own: outside the saver's
// hot keys (9..123), so such a key always counts as input.
constexpr uint32_t kUnmappedVirtualKey = 0xFF;

// The platform's virtual-key code of a Qt key. Numeric-pad digits and
// operators are told apart from the main keyboard by the keypad modifier.
uint32_t VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

// A key press as the saver procedure receives it: keys held with Alt arrive
// as system keys, as on the platform.
struct KeyMessage {
  SaverMessage message;
  uint32_t virtualKey;
};
KeyMessage KeyMessageOf(int qtKey, Qt::KeyboardModifiers modifiers);

}  // namespace fluxo
