#include "config/page_table.h"

#include "config/page_factories.h"
#include "engine/module_registry.h"

namespace fluxo::config {

const std::array<PageEntry, kPageCount> kPages = {{
    {"Bezier", 103, PageKind::Module, kModuleBezier},
    {"Cyclic", 103, PageKind::Module, kModuleCyclic},
    {"Pattern", 103, PageKind::Module, kModulePattern},
    {"Plasma", 103, PageKind::Module, kModulePlasma},
    {"Polygon", 103, PageKind::Module, kModulePolygon},
    {"Sphere", 103, PageKind::Module, kModuleSphere},
    {"Stain", 103, PageKind::Module, kModuleStain},
    {"Star", 103, PageKind::Module, kModuleStar},
    {"Vortex", 103, PageKind::Module, kModuleVortex},
    {"Ray", 103, PageKind::Module, kModuleRay},
    {"Whip", 103, PageKind::Module, kModuleWhip},
    {"Effect", 103, PageKind::Module, kModuleEffect},
    {"Flow", 103, PageKind::Module, kModuleFlow},
    {"Random", 103, PageKind::Module, kModuleRandom},
    {"Slide Show", 103, PageKind::Module, kModuleBitmap},
    {"Line", 103, PageKind::Module, kModuleLine},
    {"Squiggle", 103, PageKind::Module, kModuleSquiggle},
    {"Plug-In", 103, PageKind::Module, kModulePlugIn},
    {"Palette", 104, PageKind::Palette, -1},
    {"Custom", 102, PageKind::CustomPalette, -1},
    {"Sound", 107, PageKind::Sound, -1},
    {"Main Settings", 105, PageKind::Main, -1},
    {"Auxiliary Settings", 108, PageKind::Auxiliary, -1},
    {"Edit Displays", 109, PageKind::EditDisplays, -1},
    {"Video Mode", 106, PageKind::Video, -1},
    {"Sequencer", 103, PageKind::Sequencer, kModuleSequencer},
}};

ConfigPage* CreatePage(const PageEntry& entry, ConfigSession& session) {
  switch (entry.kind) {
    case PageKind::Module:
      return CreateModulePage(session, entry.module);
    case PageKind::Palette:
      return CreatePalettePage(session);
    case PageKind::CustomPalette:
      return CreateCustomPalettePage(session);
    case PageKind::Sound:
      return CreateSoundPage(session);
    case PageKind::Main:
      return CreateMainPage(session);
    case PageKind::Auxiliary:
      return CreateAuxiliaryPage(session);
    case PageKind::EditDisplays:
      return CreateEditDisplaysPage(session);
    case PageKind::Video:
      return CreateVideoPage(session);
    case PageKind::Sequencer:
      return CreateSequencerPage(session);
  }
  return nullptr;
}

}  // namespace fluxo::config
