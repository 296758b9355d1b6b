#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>

#include "settings/display_fixture.h"

namespace fluxo {
namespace {

using KilledSaveTest = test::DisplayTest;

constexpr int kStrength = 9;  // every module has it

// Every module but the Sequencer, each Strength holding the save's serial
// number, the palette's red Event too: a whole display has one number throughout.
void PrepareRun(int serial) {
  for (int m = 0; m < kModuleCount; ++m) {
    SetActive(m, m != kModuleSequencer);
    Slot(m).controls.value[kStrength] = 1000 + serial;
  }
  CurrentPalette()->value[ParamSlot(kParamEvent, 0)] = 1000 + serial;
}

// Saves "Whole" again and again; says so on `ready` after the first save.
[[noreturn]] void SaveForever(int ready) {
  for (int serial = 1;; ++serial) {
    PrepareRun(serial);
    SaveCurrentDisplay("Whole");
    if (serial == 1) {
      char byte = 1;
      if (write(ready, &byte, 1) != 1) _exit(2);
    }
  }
}

TEST_F(KilledSaveTest, AProcessKilledInTheMiddleOfSavesLeavesAWholeDisplay) {
  std::set<int32_t> serialsSeen;
  for (int round = 0; round < 6; ++round) {
    SCOPED_TRACE(round);
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    reg::CloseStore();  // the child opens its own connection
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(pipeFds[0]);
      SaveForever(pipeFds[1]);
    }
    close(pipeFds[1]);
    char byte = 0;
    ASSERT_EQ(read(pipeFds[0], &byte, 1), 1) << "the child never finished a save";
    close(pipeFds[0]);
    usleep(static_cast<useconds_t>(round * 7000));  // let it get some saves further
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    const int32_t serial = Number(ModuleKey("Whole", "Bezier"), "Control9");
    serialsSeen.insert(serial);
    for (int m = 0; m < kModuleCount; ++m) {
      if (m == kModuleSequencer) {
        EXPECT_FALSE(DisplayHasModule("Whole", kModuleNames[m]));
        continue;
      }
      ASSERT_TRUE(DisplayHasModule("Whole", kModuleNames[m])) << kModuleNames[m];
      if (m != kModulePlugIn) {
        EXPECT_EQ(Number(ModuleKey("Whole", kModuleNames[m]), "Control9"), serial);
      }
    }
    EXPECT_EQ(Number(PaletteKey("Whole"), "RedEvent"), serial);
    EXPECT_EQ(Number(DisplayKeyPath("Whole"), "ClearFirst"), 1);
    EXPECT_EQ(ActiveDisplayName(), "Whole");
    SetPlugInLoader([](const char*) { return 1; });
    ASSERT_EQ(LoadDisplay("Whole"), 1);
    EXPECT_TRUE(IsActive(kModuleRandom));
  }
  EXPECT_GE(serialsSeen.size(), 1u);
}

}  // namespace
}  // namespace fluxo
