// The information overlay: boxes shown, kept free of module drawing, erased,
// and left out when the window is too small for them.
#include "modules/kit/overlay_boxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/overlay.h"
#include "platform/gdi/frame_surface.h"
#include "platform/registry/registry.h"
#include "platform/system/tick_count.h"
#include "settings/main_settings.h"
#include "settings/saved_displays.h"
#include "settings/settings_store.h"
#include "sound/sound_feed.h"

namespace fluxo::test {
namespace {

constexpr uint32_t kHidden = 0xFFFFFFFFu;
constexpr uint8_t kFacePixel = 7;

struct Clock {
  static inline uint32_t now = 500000;
  static uint32_t Read() { return now; }
};

reg::Key RootKey() {
  reg::Key key;
  reg::CreateKey(reg::Hive::CurrentUser, std::string("Control Panel\\") + kRootName, key);
  return key;
}

class OverlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMainSettings();
    feed = OpenSoundFeed();
    ASSERT_NE(feed, nullptr) << SoundFeedError();
    SetTrack(0, "", "", "");
    feed->SetU32(feed::kCompanionActive, 0);
    SetDisplayName("");
    Clock::now = 500000;
    SetTickSourceForTesting(&Clock::Read);
    reg::DeleteValue(RootKey(), "Slogan");
    StartOverlay();
  }
  void TearDown() override {
    SetTickSourceForTesting(nullptr);
    reg::DeleteValue(RootKey(), "Slogan");
    CloseSoundFeed(feed);
  }

  static const OverlayBoxState& Box(OverlayBox which) { return OverlayBoxes()[which]; }
  static bool Shown(OverlayBox which) { return Box(which).hideTime != kHidden; }

  void SetSlogan(const std::string& text) {
    reg::SetValue(RootKey(), "Slogan", reg::kRegSz, text.c_str(), static_cast<uint32_t>(text.size() + 1));
    StartOverlay();
  }
  void SetTrack(uint32_t serial, const char* line1, const char* line2, const char* line3) {
    feed->SetU32(feed::kCompanionActive, 1);
    feed->SetText(feed::kInfoText1, 64, line1);
    feed->SetText(feed::kInfoText2, 64, line2);
    feed->SetText(feed::kInfoText3, 64, line3);
    feed->SetU32(feed::kInfoSerial, serial);
  }
  // Loading sets the name now playing, whether or not the display exists.
  static void SetDisplayName(const char* name) { LoadDisplay(name); }

  // What a module does in its pass: paint everything it may paint, in a
  // colour the boxes never use.
  static constexpr uint8_t kModulePixel = 110;
  static void ModulePaintsAll(gdi::FrameSurface& surface) {
    surface.FillRect(surface.ClientRect(), gdi::Brush::Solid(gdi::PaletteIndex(kModulePixel - 10)));
  }

  static int CountPixels(const gdi::FrameSurface& surface, const gdi::Rect& r, uint8_t value) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += surface.PixelAt(x, y) == value;
    return n;
  }

  SoundFeedBlock* feed = nullptr;
};

TEST_F(OverlayTest, NameBoxIsCentredAtTheTopKeptFreeOfModulesAndErasedAfterItsTime) {
  gdi::FrameSurface surface(400, 300);
  Main().showName = 3;
  SetDisplayName("[D] Bezier");
  DrawOverlayBoxes(surface);

  ASSERT_TRUE(Shown(kDisplayNameBox));
  const gdi::Rect box = Box(kDisplayNameBox).rect;
  const int half = surface.MeasureText("[D] Bezier") / 2 + 29;
  EXPECT_EQ(box, (gdi::Rect{200 - half, 0, 200 + half, surface.TextHeight() + 44}));
  EXPECT_EQ(Box(kDisplayNameBox).hideTime, 503000u);
  EXPECT_GT(CountPixels(surface, box, kFacePixel), 0);
  EXPECT_FALSE(Shown(kSloganBox)) << "no \"Slogan\" value, no slogan";

  ModulePaintsAll(surface);
  EXPECT_EQ(CountPixels(surface, box, kModulePixel), 0) << "the module painted over the box";
  EXPECT_EQ(CountPixels(surface, {0, 0, 400, 300}, kModulePixel), 400 * 300 - box.Width() * box.Height());

  Clock::now += 3000;  // not past yet
  DrawOverlayBoxes(surface);
  EXPECT_TRUE(Shown(kDisplayNameBox));
  Clock::now += 1;
  DrawOverlayBoxes(surface);
  EXPECT_FALSE(Shown(kDisplayNameBox));
  EXPECT_EQ(CountPixels(surface, box, gdi::kBlackPixel), box.Width() * box.Height());
  ModulePaintsAll(surface);
  EXPECT_EQ(CountPixels(surface, box, kModulePixel), box.Width() * box.Height()) << "the clip still excludes it";
}

TEST_F(OverlayTest, NameBoxShowsOnlyForANewNameAndNeverWithShowNameZero) {
  gdi::FrameSurface surface(400, 300);
  SetDisplayName("First");
  DrawOverlayBoxes(surface);
  EXPECT_FALSE(Shown(kDisplayNameBox)) << "ShowName 0 shows no name";

  Main().showName = 2;
  DrawOverlayBoxes(surface);
  ASSERT_TRUE(Shown(kDisplayNameBox));
  Clock::now += 2001;
  DrawOverlayBoxes(surface);
  ASSERT_FALSE(Shown(kDisplayNameBox));

  SetDisplayName("First");  // the same display loaded again
  DrawOverlayBoxes(surface);
  EXPECT_FALSE(Shown(kDisplayNameBox));

  SetDisplayName("Second, a longer name");
  DrawOverlayBoxes(surface);
  ASSERT_TRUE(Shown(kDisplayNameBox));
  const gdi::Rect longer = Box(kDisplayNameBox).rect;
  Clock::now += 100;
  SetDisplayName("Third");  // replaces a visible box in the same pass
  DrawOverlayBoxes(surface);
  ASSERT_TRUE(Shown(kDisplayNameBox));
  const gdi::Rect shorter = Box(kDisplayNameBox).rect;
  EXPECT_EQ(Box(kDisplayNameBox).hideTime, Clock::now + 2000);
  EXPECT_LT(shorter.Width(), longer.Width());
  // The wider old box is gone where the new one does not cover it.
  EXPECT_EQ(CountPixels(surface, {longer.left, longer.top, shorter.left, longer.bottom}, gdi::kBlackPixel),
            (shorter.left - longer.left) * longer.Height());
}

TEST_F(OverlayTest, TrackBoxShowsTheThreeLinesAndIsRedrawnOnATrackChange) {
  gdi::FrameSurface surface(500, 300);
  Main().showInfo = 1;
  SetTrack(7, "Album", "A title much longer than the rest", "Artist");
  DrawOverlayBoxes(surface);
  ASSERT_TRUE(Shown(kTrackInfoBox));
  const int h = surface.TextHeight();
  const int w = surface.MeasureText("A title much longer than the rest");
  EXPECT_EQ(Box(kTrackInfoBox).rect, (gdi::Rect{0, 300 - (3 * h + 44), w + 58, 300}));
  EXPECT_EQ(Box(kTrackInfoBox).hideTime, Clock::now + 4221);

  Clock::now += 1000;
  SetTrack(8, "Other album", "Short", "Other artist");
  DrawOverlayBoxes(surface);
  ASSERT_TRUE(Shown(kTrackInfoBox));
  EXPECT_EQ(Box(kTrackInfoBox).hideTime, Clock::now + 4221);
  const int widest =
      std::max({surface.MeasureText("Other album"), surface.MeasureText("Short"), surface.MeasureText("Other artist")});
  EXPECT_EQ(Box(kTrackInfoBox).rect.right, widest + 58);

  Clock::now += 4222;
  DrawOverlayBoxes(surface);
  EXPECT_FALSE(Shown(kTrackInfoBox));
}

TEST_F(OverlayTest, TrackBoxNeedsShowInfoAndASecondLine) {
  gdi::FrameSurface surface(500, 300);
  SetTrack(1, "Album", "Title", "Artist");
  DrawOverlayBoxes(surface);
  EXPECT_FALSE(Shown(kTrackInfoBox)) << "ShowInfo is off";

  Main().showInfo = 1;
  SetTrack(2, "Album", "", "Artist");
  DrawOverlayBoxes(surface);
  EXPECT_FALSE(Shown(kTrackInfoBox));
  ModulePaintsAll(surface);
  EXPECT_EQ(CountPixels(surface, surface.ClientRect(), kModulePixel), 500 * 300) << "nothing is kept free";

  feed->SetU32(feed::kCompanionActive, 0);
  feed->SetText(feed::kInfoText2, 64, "Title");
  feed->SetU32(feed::kInfoSerial, 3);
  DrawOverlayBoxes(surface);
  EXPECT_FALSE(Shown(kTrackInfoBox)) << "no companion, no track box";
}

TEST_F(OverlayTest, TrackBoxGoesWhenItsTimeIsUpAfterTheCompanionStopped) {
  gdi::FrameSurface surface(500, 300);
  Main().showInfo = 1;
  SetTrack(5, "Album", "Title", "Artist");
  DrawOverlayBoxes(surface);
  ASSERT_TRUE(Shown(kTrackInfoBox));
  feed->SetU32(feed::kCompanionActive, 0);
  Clock::now += 5000;
  DrawOverlayBoxes(surface);
  EXPECT_FALSE(Shown(kTrackInfoBox));
}

TEST_F(OverlayTest, SloganShowsOnTheFirstPassForItsTimeAndNeverAgain) {
  gdi::FrameSurface surface(400, 300);
  SetSlogan("Music you can see");
  DrawOverlayBoxes(surface);
  ASSERT_TRUE(Shown(kSloganBox));
  const int w = surface.MeasureText("Music you can see"), h = surface.TextHeight();
  const gdi::Rect box = Box(kSloganBox).rect;
  EXPECT_EQ(box, (gdi::Rect{400 - (w + 58), 300 - (h + 44), 400, 300}));

  Clock::now += 6213;
  DrawOverlayBoxes(surface);
  EXPECT_TRUE(Shown(kSloganBox));
  Clock::now += 1;
  DrawOverlayBoxes(surface);
  EXPECT_FALSE(Shown(kSloganBox));
  EXPECT_EQ(CountPixels(surface, box, gdi::kBlackPixel), box.Width() * box.Height());
  for (int pass = 0; pass < 3; ++pass) {
    Clock::now += 10000;
    DrawOverlayBoxes(surface);
    EXPECT_FALSE(Shown(kSloganBox));
  }
}

// Each box meets its own margins: the cases sit exactly on the limits.
TEST_F(OverlayTest, SmallWindowsShowOnlyTheBoxesThatFitTheirMargins) {
  gdi::FrameSurface probe(10, 10);
  const int h = probe.TextHeight();
  const int nameHalf = probe.MeasureText("Name") / 2 + 29;
  const int sloganWidth = probe.MeasureText("Slogan") + 58;
  const int trackWidth = probe.MeasureText("Title") + 58;
  const int wide = 4 * (nameHalf + sloganWidth + trackWidth);

  struct Case {
    OverlayBox box;
    int width, height;
    bool shown;
  };
  const Case cases[] = {
      {kTrackInfoBox, wide, 3 * h + 95, true},  // top 51
      {kTrackInfoBox, wide, 3 * h + 94, false},
      {kTrackInfoBox, trackWidth + 41, 400, true},  // right one short of the margin
      {kTrackInfoBox, trackWidth + 40, 400, false},
      {kDisplayNameBox, wide, h + 85, true},  // bottom h+44 < h+45
      {kDisplayNameBox, wide, h + 84, false},
      {kDisplayNameBox, 2 * (nameHalf + 51), 400, true},  // left exactly 51
      {kDisplayNameBox, 2 * (nameHalf + 51) - 2, 400, false},
      {kSloganBox, wide, h + 95, true},  // top exactly 51
      {kSloganBox, wide, h + 94, false},
      {kSloganBox, sloganWidth + 41, 400, true},  // left exactly 41
      {kSloganBox, sloganWidth + 40, 400, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "box " << c.box << " in " << c.width << "x" << c.height);
    Main().showName = c.box == kDisplayNameBox ? 5 : 0;
    Main().showInfo = c.box == kTrackInfoBox ? 1 : 0;
    if (c.box == kSloganBox) {
      SetSlogan("Slogan");
    } else {
      reg::DeleteValue(RootKey(), "Slogan");
      StartOverlay();
    }
    SetTrack(11, "", "Title", "");
    SetDisplayName("Name");
    gdi::FrameSurface surface(c.width, c.height);
    DrawOverlayBoxes(surface);
    EXPECT_EQ(Shown(c.box), c.shown);
    ModulePaintsAll(surface);
    const int kept = c.shown ? Box(c.box).rect.Width() * Box(c.box).rect.Height() : 0;
    EXPECT_EQ(CountPixels(surface, surface.ClientRect(), kModulePixel), c.width * c.height - kept)
        << "a box left out must not keep its area free";
  }
}

TEST_F(OverlayTest, ModulesThatReplaceTheClipKeepVisibleBoxesFree) {
  gdi::FrameSurface surface(400, 300);
  Main().showName = 10;
  SetDisplayName("Clip");
  SetSlogan("Slogan");
  DrawOverlayBoxes(surface);
  ASSERT_TRUE(Shown(kDisplayNameBox));
  ASSERT_TRUE(Shown(kSloganBox));

  // A module clips to its tile, then keeps the boxes free as modules must.
  const gdi::Region whole = gdi::Region::FromRect(surface.ClientRect());
  surface.SelectClipRegion(&whole);
  ExcludeOverlayBoxes(surface);
  ModulePaintsAll(surface);
  for (OverlayBox b : {kDisplayNameBox, kSloganBox}) EXPECT_EQ(CountPixels(surface, Box(b).rect, kModulePixel), 0);
}

TEST_F(OverlayTest, ABoxIsDrawnWholeThoughAModuleLeftANarrowClip) {
  gdi::FrameSurface surface(400, 300);
  surface.IntersectClipRect({0, 0, 10, 10});
  Main().showName = 10;
  SetDisplayName("A name to show");
  DrawOverlayBoxes(surface);
  ASSERT_TRUE(Shown(kDisplayNameBox));
  const gdi::Rect box = Box(kDisplayNameBox).rect;
  // The sunken outer ring: its bottom line is white, its top line grey.
  EXPECT_EQ(CountPixels(surface, {box.left + 1, box.bottom - 1, box.right, box.bottom}, gdi::kWhitePixel),
            box.Width() - 1);
  EXPECT_GT(CountPixels(surface, {box.left + 16, box.top + 16, box.right - 16, box.bottom - 16}, gdi::kBlackPixel), 0)
      << "the name's text";
}

}  // namespace
}  // namespace fluxo::test
