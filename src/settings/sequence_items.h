#pragma once
#include <cstdint>
#include <vector>

#include "platform/registry/registry.h"

namespace fluxo {

// One entry of a display's sequence list.
struct SequenceItem {
  char name[128] = {};  // at most 127 characters and a terminating zero
  uint32_t seconds = 0;
  uint32_t clearFirst = 0;
};

// The current sequence: loaded with a display that holds the Sequencer
// module, edited by the Sequencer page, played by the Random module in mode 3.
struct SequenceList {
  std::vector<SequenceItem> items;
  int32_t orderedPlay = 0;
  uint32_t currentIndex = 0;
};

SequenceList& CurrentSequence();

// Lists longer than this are read up to it: a damaged count must not ask for
// gigabytes.
constexpr uint32_t kMaxSequenceItems = 4096;

// Reads "SeqItems", "OrderedPlay" and the items from a Sequencer module key;
// an empty or missing list beeps and keeps the old one.
// An item whose stored name does not fit the 128-byte field is left out rather
// than cut short (a shortened name could name another display).
void ReadSequenceItems(const reg::Key& key);
// Writes the current list into a Sequencer module key; an empty list writes
// nothing. Returns the store's error code.
long WriteSequenceItems(const reg::Key& key);

// The default system beep of an empty list; the saver host installs its own.
using BeepFunction = void (*)();
void SetSequenceBeep(BeepFunction beep);

}  // namespace fluxo
