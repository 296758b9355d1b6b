#pragma once

namespace fluxo::kit {

// A palette index that walks up and down the animated entries: 1, 2, ...,
// 235, 234, ..., 0, 1, ... The step turns at either end, so the index never
// leaves 0..235 whatever it starts from.
struct ColourWalk {
  static constexpr int kLast = 235;

  int index = 0;
  int step = 1;

  int Step() {
    index += step;
    if (index >= kLast) {
      index = kLast;
      step = -step;
    } else if (index < 1) {
      index = 0;
      step = -step;
    }
    return index;
  }
};

}  // namespace fluxo::kit
