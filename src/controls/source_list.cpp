#include <iterator>

#include "controls/controls.h"

namespace fluxo {
namespace {

// In source-code order: a list position is stored directly as the code.
constexpr const char* kSourceNames[] = {
    "Set",   "Random", "Oscillate", "Volume", "Left",   "Right",  "150Hz",  "400Hz",   "600Hz", "800Hz", "1KHz",
    "1.5KHz", "2KHz",  "2.5KHz",    "3.25KHz", "4KHz",  "5KHz",   "6.25KHz", "8KHz",   "10KHz", "12.5KHz", "18KHz"};
static_assert(std::size(kSourceNames) == kSourceLastBand + 1, "one name per source code");

}  // namespace

std::vector<std::string> FillSourceList(bool soundCapable) {
  const int count = soundCapable ? kSourceLastBand + 1 : kSourceOscillate;
  return std::vector<std::string>(kSourceNames, kSourceNames + count);
}

}  // namespace fluxo
