#pragma once
#include <array>

namespace fluxo::config {

class ConfigPage;
class ConfigSession;

// Which page file makes a page.
enum class PageKind { Module, Palette, CustomPalette, Sound, Main, Auxiliary, EditDisplays, Video, Sequencer };

struct PageEntry {
  const char* title;
  int iconId;  // 102..109: the picture beside the title in the page list
  PageKind kind;
  int module;  // the module a module or sequencer page edits; -1 for the others
};

constexpr int kPageCount = 26;
// The sheet opens on "Main Settings".
constexpr int kStartPage = 21;

// The pages in the order the sheet lists them.
extern const std::array<PageEntry, kPageCount> kPages;

// Makes the page through its file's factory.
ConfigPage* CreatePage(const PageEntry& entry, ConfigSession& session);

}  // namespace fluxo::config
