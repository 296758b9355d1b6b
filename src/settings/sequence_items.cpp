#include "settings/sequence_items.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "settings/stored_values.h"

namespace fluxo {
namespace {
SequenceList g_sequence;
void NoBeep() {}
BeepFunction g_beep = &NoBeep;
}  // namespace

SequenceList& CurrentSequence() { return g_sequence; }

void SetSequenceBeep(BeepFunction beep) { g_beep = beep ? beep : &NoBeep; }

void ReadSequenceItems(const reg::Key& key) {
  int32_t stored = 0;
  ReadNumber(key, "SeqItems", stored);
  if (stored == 0) {
    g_beep();
    return;
  }
  const uint32_t count = std::min(static_cast<uint32_t>(stored), kMaxSequenceItems);
  SequenceList list;
  ReadNumber(key, "OrderedPlay", list.orderedPlay);
  list.items.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const std::string index = std::to_string(i);
    SequenceItem item;
    std::string name;
    if (ReadText(key, index, name)) {
      if (name.size() >= sizeof item.name) continue;
      std::memcpy(item.name, name.c_str(), name.size() + 1);
    }
    int32_t number = 0;
    if (ReadNumber(key, "T" + index, number)) item.seconds = static_cast<uint32_t>(number);
    number = 0;
    if (ReadNumber(key, "C" + index, number)) item.clearFirst = static_cast<uint32_t>(number);
    list.items.push_back(item);
  }
  if (list.items.empty()) {  // every name was unusable: as good as an empty list
    g_beep();
    return;
  }
  list.currentIndex = 0;
  g_sequence = std::move(list);
}

long WriteSequenceItems(const reg::Key& key) {
  const SequenceList& list = g_sequence;
  if (list.items.empty()) return reg::kSuccess;
  long rc = WriteNumber(key, "SeqItems", static_cast<int32_t>(list.items.size()), reg::kRegDword);
  if (rc == reg::kSuccess) rc = WriteNumber(key, "OrderedPlay", list.orderedPlay, reg::kRegDword);
  for (size_t i = 0; i < list.items.size() && rc == reg::kSuccess; ++i) {
    const SequenceItem& item = list.items[i];
    const std::string index = std::to_string(i);
    rc = WriteText(key, index, std::string_view(item.name, strnlen(item.name, sizeof item.name - 1)));
    if (rc == reg::kSuccess) rc = WriteNumber(key, "T" + index, static_cast<int32_t>(item.seconds), reg::kRegDword);
    if (rc == reg::kSuccess) rc = WriteNumber(key, "C" + index, static_cast<int32_t>(item.clearFirst), reg::kRegDword);
  }
  return rc;
}

}  // namespace fluxo
