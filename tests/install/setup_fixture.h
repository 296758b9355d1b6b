#pragma once
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "install/install_steps.h"
#include "install/setup_prompts.h"
#include "platform/registry/registry.h"
#include "registry/fresh_store.h"
#include "settings/display_file.h"
#include "settings/settings_store.h"
#include "support/test_environment.h"

namespace fluxo::test {

// Answers setup's message boxes and remembers them as (title, text).
class RecordingPrompts : public install::SetupPrompts {
 public:
  void Stop(const std::string& title, const std::string& text) override { shown.emplace_back(title, text); }
  void Notice(const std::string& title, const std::string& text) override { shown.emplace_back(title, text); }
  bool Showed(const std::string& title) const {
    for (const auto& [t, text] : shown)
      if (t == title) return true;
    return false;
  }
  std::vector<std::pair<std::string, std::string>> shown;
};

// An empty FLUXO_HOME and settings store, and a release folder to install from.
class SetupTest : public FreshStore {
 protected:
  void SetUp() override {
    FreshStore::SetUp();
    ClearHome();
    source.folder = TestHome() + "/release";
    source.program = source.folder + "/fluxo-setup";
    std::filesystem::create_directories(source.folder);
    WriteFile(source.program, "#!/bin/sh\n# stands in for the program\n", 0755);
  }
  void TearDown() override {
    FreshStore::TearDown();
    ClearHome();
  }

  static void ClearHome() {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(TestHome(), ec))
      if (entry.path().filename() != "config") std::filesystem::remove_all(entry.path(), ec);
    std::filesystem::remove(TestHome() + "/config/SYSTEM.INI", ec);
  }

  static void WriteFile(const std::string& path, const std::string& text, unsigned mode = 0644) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    chmod(path.c_str(), mode);
  }
  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static bool Exists(const std::string& path) { return std::filesystem::exists(path); }

  // A display file with a few values of the display key and of a module.
  static void WriteDisplayFile(const std::string& path, uint32_t speed) {
    const auto number = EncodeNumber(speed);
    const std::vector<DisplayRecord> records = {
        {"", "Speed", reg::kRegBinary, {number.begin(), number.end()}},
        {"Modules\\Bezier", "Control0", reg::kRegBinary, {7, 0, 0, 0}},
    };
    const std::vector<uint8_t> bytes = SerializeDisplayFile(records);
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
  }

  // The whole release folder: every optional file present.
  void FillRelease() {
    const std::string& f = source.folder;
    WriteFile(f + "/fluxo-uninstall", "#!/bin/sh\n", 0755);
    WriteFile(f + "/ReadMe.TXT", "read me\n");
    WriteFile(f + "/License.TXT", "licence\n");
    WriteFile(f + "/File_ID.DIZ", "id\n");
    WriteFile(f + "/fluxo.xml", "<screensaver name=\"fluxo\"/>\n");
    WriteFile(f + "/Slogan.TXT", "Feel the music\r\nsecond line");
    WriteFile(f + "/help/index.html", "<html>help</html>\n");
    WriteFile(f + "/help/pages/palette.html", "<html>palette</html>\n");
    // The companion's installer leaves a note beside setup of how it was run,
    // complete when it appears.
    WriteFile(f + "/tonewell",
              "#!/bin/sh\necho \"$0 $@\" > '" + f + "/companion-ran.part'\nmv '" + f + "/companion-ran.part' '" + f +
                  "/companion-ran'\n",
              0755);
    WriteFile(f + "/Kickoff", "#!/bin/sh\nsleep 2\n", 0755);
    WriteDisplayFile(f + "/Deep Pulse.FLX", 3);
    WriteDisplayFile(f + "/Ember.flx", 5);
  }

  static std::string MachineText(reg::Hive hive, const char* key, const char* value) {
    char text[1024];
    if (!ReadMachineText(hive, key, value, text, sizeof text)) return "<missing>";
    return text;
  }

  install::SetupSource source;
  RecordingPrompts prompts;
};

}  // namespace fluxo::test
