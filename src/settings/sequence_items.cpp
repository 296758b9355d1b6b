#include "settings/sequence_items.h"

namespace fluxo {
namespace {
SequenceList g_sequence;
}

SequenceList& CurrentSequence() { return g_sequence; }

// Filled by the saved-displays store.
void ReadSequenceItems(const reg::Key&) {}
void WriteSequenceItems(const reg::Key&) {}

}  // namespace fluxo
