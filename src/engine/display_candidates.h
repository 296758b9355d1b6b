#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/sequence_items.h"

namespace fluxo {

// A display that random play or a sequence may switch to.
struct DisplayCandidate {
  std::string name;
  bool probed = false;         // loaded once by a choice
  bool reactsToSound = false;  // what that load found
  uint32_t playSeconds = 0;    // sequence items only
  uint32_t clearFirst = 0;     // sequence items only
};

constexpr size_t kMaxDisplayCandidates = 512;

// Displays that hold the Random or Sequencer module never play inside random
// play or a sequence: they would start one random run inside another.
bool PlayableInRandomRun(const std::string& display);

// The saved displays in store order, at most 512, without the unplayable ones.
std::vector<DisplayCandidate> SavedDisplayCandidates();
// The items of a sequence in list order, without the unplayable ones.
std::vector<DisplayCandidate> SequenceCandidates(const SequenceList& sequence);

// What a choice needs from outside: loading a display (true when it brought
// a module that can run), and whether the display loaded last follows sound.
struct DisplayLoader {
  std::function<bool(const std::string& name)> load;
  std::function<bool()> loadedReactsToSound;
};
// LoadDisplay and the sound feed's flags.
DisplayLoader StoreDisplayLoader();

enum class ChoiceMode { AnySaved = 1, SoundReactive = 2, Sequence = 3 };

// Loads displays from `candidates` until one fits the mode, at most 50 times:
// in list order from `orderCounter` when `ordered`, else at random. A sound
// reactive choice probes each display once, on its first load. A display with
// nothing that can run (a missing display, a plug-in that did not load, a
// module not available) does not end the choice. Returns the entry loaded
// last, or null for an empty list.
DisplayCandidate* ChooseDisplay(std::vector<DisplayCandidate>& candidates, ChoiceMode mode, bool ordered,
                                uint32_t& orderCounter, const DisplayLoader& loader);

}  // namespace fluxo
