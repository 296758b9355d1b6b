#pragma once

namespace fluxo::config {

class ConfigPage;
class ConfigSession;

// The pages of the sheet, each made by its own file.
ConfigPage* CreateModulePage(ConfigSession& session, int moduleIndex);  // also Slide Show, Plug-In, Random
ConfigPage* CreatePalettePage(ConfigSession& session);
ConfigPage* CreateCustomPalettePage(ConfigSession& session);
ConfigPage* CreateSoundPage(ConfigSession& session);
ConfigPage* CreateMainPage(ConfigSession& session);
ConfigPage* CreateAuxiliaryPage(ConfigSession& session);
ConfigPage* CreateEditDisplaysPage(ConfigSession& session);
ConfigPage* CreateVideoPage(ConfigSession& session);
ConfigPage* CreateSequencerPage(ConfigSession& session);

}  // namespace fluxo::config
