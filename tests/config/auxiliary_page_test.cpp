#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <cstring>
#include <memory>

#include "config/config_page.h"
#include "config/config_session.h"
#include "config/page_factories.h"
#include "settings/display_fixture.h"
#include "config/widget_lookup.h"

namespace fluxo::test {
namespace {

using config::ConfigPage;
using config::ConfigSession;

std::string RootPath() { return std::string("Control Panel\\") + SettingsKeyName(); }

std::string GraceText() {
  reg::Key winlogon;
  EXPECT_EQ(reg::OpenKey(reg::Hive::LocalMachine, kWinlogonKey, winlogon), reg::kSuccess);
  char text[32] = {};
  uint32_t size = sizeof text - 1;
  uint32_t type = 0;
  EXPECT_EQ(reg::QueryValue(winlogon, "ScreenSaverGracePeriod", &type, text, &size), reg::kSuccess);
  EXPECT_EQ(type, reg::kRegSz);
  return text;
}

class AuxiliaryPageTest : public DisplayTest {
 protected:
  void TearDown() override {
    page.reset();
    DisplayTest::TearDown();
  }
  void Open() {
    page.reset(config::CreateAuxiliaryPage(session));
    page->SetActive();
  }
  template <typename T>
  T* Find(const char* id) {
    return FindWidget<T>(page.get(), QString(id));
  }

  ConfigSession session;
  std::unique_ptr<ConfigPage> page;
};

TEST_F(AuxiliaryPageTest, BlankTimeoutShowsNotApplicableAtTheTopAndZeroAtTheBottom) {
  Open();
  auto* slider = Find<QSlider>("id1324");
  auto* edit = Find<QLineEdit>("id1326");
  EXPECT_EQ(edit->text(), "N/A") << "the default, never";

  slider->setValue(30);
  EXPECT_EQ(edit->text(), "30");
  page->Apply();
  EXPECT_EQ(Number(RootPath(), "BlankTimeout"), 30);

  slider->setValue(0);
  EXPECT_EQ(edit->text(), "0");
  page->Apply();
  EXPECT_EQ(Number(RootPath(), "BlankTimeout"), 0);

  slider->setValue(241);
  EXPECT_EQ(edit->text(), "N/A");
  page->Apply();
  EXPECT_EQ(Number(RootPath(), "BlankTimeout"), 241);
}

TEST_F(AuxiliaryPageTest, GracePeriodGoesToTheWinlogonKeyAsText) {
  Open();
  EXPECT_EQ(Find<QLineEdit>("id1328")->text(), "6");
  Find<QSlider>("id1327")->setValue(900);
  EXPECT_EQ(Find<QLineEdit>("id1328")->text(), "900");
  page->Apply();
  EXPECT_EQ(GraceText(), "900");
  LoadMainSettings();
  EXPECT_EQ(Main().graceSeconds, 900u);
}

TEST_F(AuxiliaryPageTest, EachCpuUsageButtonStoresItsPriorityClass) {
  Open();
  EXPECT_TRUE(Find<QRadioButton>("id1066")->isChecked()) << "low is the default";
  const struct {
    const char* id;
    int32_t priority;
  } choices[] = {{"id1065", 128}, {"id1067", 32}, {"id1066", 64}};
  for (const auto& choice : choices) {
    Find<QRadioButton>(choice.id)->click();
    page->Apply();
    EXPECT_EQ(Number(RootPath(), "Priority"), choice.priority) << choice.id;
  }
}

TEST_F(AuxiliaryPageTest, AStoredClassOfNoButtonIsKept) {
  Main().priority = 0x100;  // realtime: none of the three
  Open();
  for (const char* id : {"id1065", "id1067", "id1066"}) EXPECT_FALSE(Find<QRadioButton>(id)->isChecked()) << id;
  page->Apply();
  EXPECT_EQ(Number(RootPath(), "Priority"), 0x100);
}

TEST_F(AuxiliaryPageTest, TheStoredSettingsShowWhenThePageComesBack) {
  Open();
  Main().priority = 128;
  Main().blankTimeout = 15;
  page->SetActive();
  EXPECT_TRUE(Find<QRadioButton>("id1065")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>("id1066")->isChecked());
  EXPECT_EQ(Find<QLineEdit>("id1326")->text(), "15");
}

}  // namespace
}  // namespace fluxo::test
