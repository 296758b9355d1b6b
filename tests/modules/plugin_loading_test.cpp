// Loading plug-in libraries: binding, control definitions, refusals and
// libraries that fault or hang while they load.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "modules/plugin_fixture.h"
#include "support/test_environment.h"

namespace fluxo::test {
namespace {

class PlugInLoadingTest : public PlugInTest {};

std::string g_noticeTitle;
std::string g_noticeText;
int g_notices = 0;
void CaptureNotice(const char* title, const char* text) {
  ++g_notices;
  g_noticeTitle = title;
  g_noticeText = text;
}

TEST_F(PlugInLoadingTest, ThePlugInDefinesItsControlsAndTheHostKeepsStrength) {
  ControlBlock& c = PlugIn().controls;
  c.defined[5] = 1;  // left from an earlier plug-in
  std::strcpy(PlugIn().path, "stale");

  ASSERT_EQ(LoadPlugIn("Probe.so"), 1);
  EXPECT_TRUE(PlugIn().frame && PlugIn().allocate && PlugIn().initialise && PlugIn().free && PlugIn().about);
  EXPECT_EQ(PlugIn().recordTable, Modules().slots.data());
  EXPECT_STREQ(PlugIn().path, "") << "defining a control empties the path text";
  EXPECT_EQ(c.defined[5], 0) << "definitions of an earlier plug-in are gone";

  EXPECT_EQ(c.defined[0], 1);
  EXPECT_STREQ(c.label[0], "A label longer than thirty-one ") << "31 characters kept";
  EXPECT_EQ(c.value[0], 50);
  EXPECT_EQ(c.defaultValue[0], 50);
  EXPECT_EQ(c.minValue[0], 0);
  EXPECT_EQ(c.maxValue[0], 100);
  EXPECT_EQ(c.rangeLo[0], 10);
  EXPECT_EQ(c.rangeHi[0], 90);
  EXPECT_EQ(c.sense[0], 10);
  EXPECT_EQ(c.drift[0], 0.5f);
  EXPECT_EQ(c.soundCapable[0], 1);
  EXPECT_EQ(c.source[29], kSourceOscillate);
  EXPECT_EQ(c.sense[29], 7);

  ProbeReport& report = Report();
  EXPECT_EQ(report.firstIndexResult, 1);
  EXPECT_EQ(report.reservedIndexResult, 0) << "index 9 belongs to the host";
  EXPECT_EQ(report.index30Result, 0);
  EXPECT_EQ(report.negativeIndexResult, 0);
  EXPECT_EQ(report.sawDrawTable, 1) << "the device reaches the drawing table even without a surface";

  EXPECT_STREQ(c.label[9], "Strength");
  EXPECT_EQ(c.defined[9], 1);
  EXPECT_EQ(c.defaultValue[9], 1);
  EXPECT_EQ(c.value[9], 1);
  EXPECT_EQ(c.minValue[9], -10);
  EXPECT_EQ(c.maxValue[9], 10);
  EXPECT_EQ(c.soundCapable[9], 1);
  EXPECT_EQ(c.source[9], kSourceSet);
}

TEST_F(PlugInLoadingTest, EveryLoadRegistersTheCallbacksAgain) {
  ASSERT_EQ(LoadPlugIn("Probe.so"), 1);
  const int32_t before = Report().registerCalls;
  ASSERT_EQ(LoadPlugIn("Probe.so"), 1);
  EXPECT_EQ(Report().registerCalls, before + 1);
}

TEST_F(PlugInLoadingTest, APlugInWithoutDoCloseIsRefusedAndNamedInTheDialogOnly) {
  ASSERT_EQ(LoadPlugIn("Probe.so"), 1);
  SetPlugInNotice(&CaptureNotice);
  g_notices = 0;

  EXPECT_EQ(LoadPlugIn("ProbeNoClose.so"), 0);
  EXPECT_FALSE(Bound()) << "no operation of either library stays bound";
  EXPECT_EQ(g_notices, 0) << "the saver shows nothing";

  Saver().configurationRun = true;
  EXPECT_EQ(LoadPlugIn("ProbeNoClose.so"), 0);
  EXPECT_EQ(g_notices, 1);
  EXPECT_EQ(g_noticeTitle, "Invalid Plug-In Module");
  EXPECT_NE(g_noticeText.find("that the'DoClose' entry point has not been properly exported."), std::string::npos)
      << g_noticeText;
}

TEST_F(PlugInLoadingTest, AFaultWhileLoadingRefusesTheLibraryAndTheProgramGoesOn) {
  for (const char* file : {"ProbeCrashStart.so", "ProbeCrashRegister.so", "ProbeCrashControls.so"}) {
    ASSERT_EQ(LoadPlugIn("Probe.so"), 1);
    EXPECT_EQ(LoadPlugIn(file), 0) << file;
    EXPECT_FALSE(Bound()) << file;
    EXPECT_EQ(LoadedLibrary(file), nullptr) << file << " faulted in the trial and never came into this process";
  }
}

TEST_F(PlugInLoadingTest, APlugInThatNeverFinishesLoadingIsRefused) {
  EXPECT_EQ(LoadPlugIn("ProbeHang.so"), 0);
  EXPECT_FALSE(Bound());
  EXPECT_EQ(LoadedLibrary("ProbeHang.so"), nullptr);
}

TEST_F(PlugInLoadingTest, OnlyLibrariesInsideThePlugInFolderLoad) {
  for (const char* name : {"", "Missing.so", "../plugins/Probe.so", "/tmp/Probe.so", "..", "."})
    EXPECT_EQ(LoadPlugIn(name), 0) << name;
  EXPECT_EQ(LoadPlugIn(nullptr), 0);
  EXPECT_EQ(LoadPlugIn(std::string(300, 'a').c_str()), 0);
  SetPlugInFolder("");
  EXPECT_EQ(LoadPlugIn("Probe.so"), 0) << "no folder, no plug-ins";
}

TEST_F(PlugInLoadingTest, TheListHoldsTheFolderLibrariesAndPicksTheRecordsOne) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::path(TestHome()) / "plugin-list";
  fs::remove_all(folder);
  fs::create_directories(folder);
  SetPlugInFolder(folder.string());
  EXPECT_TRUE(ListPlugIns().names.empty()) << "an empty folder";
  EXPECT_STREQ(PlugIn().pluginPath, "");

  for (const char* name : {"b.so", "A.SO", "notes.txt", "c.so.1"}) std::ofstream(folder / name) << "x";
  PlugInList list = ListPlugIns();
  std::vector<std::string> sorted = list.names;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<std::string>{"A.SO", "b.so"}));
  ASSERT_EQ(list.selected, 0);
  EXPECT_EQ(list.names[0], PlugIn().pluginPath) << "the first becomes the record's library";

  std::snprintf(PlugIn().pluginPath, sizeof PlugIn().pluginPath, "b.so");
  list = ListPlugIns();
  ASSERT_GE(list.selected, 0);
  EXPECT_EQ(list.names[list.selected], "b.so");
  std::snprintf(PlugIn().pluginPath, sizeof PlugIn().pluginPath, "gone.so");
  EXPECT_EQ(ListPlugIns().selected, -1) << "a library no longer there is not selected";
  fs::remove_all(folder);
}

}  // namespace
}  // namespace fluxo::test
