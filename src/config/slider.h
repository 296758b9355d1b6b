#pragma once
#include <cstdint>

class QLineEdit;
class QSlider;

namespace fluxo::config {

// A trackbar with its buddy edit: range, tick spacing (range ÷ 24 + 1),
// position, and the edit showing the value as a signed number.
void SetSlider(QSlider* slider, QLineEdit* edit, int32_t minimum, int32_t maximum, int32_t position);

// Reads a typed value, clamps it into minimum..maximum and shows the clamped
// value. When it differs from `oldValue` the trackbar follows and `changed`
// is set (the caller marks the display dirty). Text that is no number reads
// as 0, as the platform's integer edits do.
int32_t ReadEditValue(QLineEdit* edit, QSlider* slider, int32_t minimum, int32_t maximum, int32_t oldValue,
                      bool* changed);

}  // namespace fluxo::config
