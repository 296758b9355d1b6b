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

// Reads "SeqItems", "OrderedPlay" and the items from a Sequencer module key;
// an empty or missing list beeps and keeps the old one.
void ReadSequenceItems(const reg::Key& key);
// Writes the current list into a Sequencer module key; an empty list writes nothing.
void WriteSequenceItems(const reg::Key& key);

}  // namespace fluxo
