// The drawing table plug-ins reach through their record's device.
#include <gtest/gtest.h>

#include <cstring>

#include "fluxo/plugin.h"
#include "modules/plugin_host_device.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::test {
namespace {

class PlugInDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(static_cast<void*>(&slot), 0, sizeof slot);
    slot.dc = &surface;
  }
  gdi::FrameSurface surface{20, 10};
  FluxoModuleSlot slot;
};

TEST_F(PlugInDeviceTest, TheDeviceStandsInForTheSurfaceOnlyWithinItsScope) {
  {
    PlugInDeviceScope scope(&slot);
    ASSERT_NE(slot.dc, static_cast<void*>(&surface));
    const FluxoDrawTable* draw = FluxoDraw(&slot);
    ASSERT_EQ(draw, &PlugInDrawTable());
    EXPECT_EQ(draw->size, sizeof(FluxoDrawTable));
    draw->FillRect(slot.dc, 2, 2, 5, 4, FLUXO_PALETTE_INDEX(100));
    draw->SetPixel(slot.dc, 10, 5, FLUXO_RGB(255, 255, 255));
    EXPECT_EQ(draw->GetEntryAt(slot.dc, 3, 3), 100);
    EXPECT_EQ(draw->GetEntryAt(slot.dc, -1, 3), 0) << "outside the surface reads nothing";
    EXPECT_EQ(draw->GetEntryAt(slot.dc, 20, 0), 0);
  }
  EXPECT_EQ(slot.dc, static_cast<void*>(&surface));
  EXPECT_EQ(surface.PixelAt(2, 2), gdi::PixelOfEntry(100));
  EXPECT_EQ(surface.PixelAt(4, 3), gdi::PixelOfEntry(100));
  EXPECT_EQ(surface.PixelAt(5, 3), 0) << "right edge excluded";
  EXPECT_EQ(surface.PixelAt(10, 5), gdi::kWhitePixel);
}

TEST_F(PlugInDeviceTest, PensLinesAndInversionFollowTheDevice) {
  PlugInDeviceScope scope(&slot);
  const FluxoDrawTable* draw = FluxoDraw(&slot);
  const FluxoPoint line[] = {{0, 0}, {19, 0}};
  draw->SelectPen(slot.dc, 1, FLUXO_PALETTE_INDEX(5));
  draw->Polyline(slot.dc, line, 2);
  EXPECT_EQ(surface.PixelAt(0, 0), gdi::PixelOfEntry(5));
  EXPECT_EQ(surface.PixelAt(18, 0), gdi::PixelOfEntry(5));
  EXPECT_EQ(surface.PixelAt(19, 0), 0) << "a line excludes its end point";
  draw->Polyline(slot.dc, line, -3);  // a bad count from foreign code draws nothing
  draw->Polyline(slot.dc, nullptr, 2);
  draw->SetInvertMode(slot.dc, 1);
  draw->MoveTo(slot.dc, 0, 0);
  draw->LineTo(slot.dc, 4, 0);
  EXPECT_EQ(surface.PixelAt(1, 0), gdi::PixelOfEntry(5) ^ 0xFF);
  EXPECT_EQ(surface.PixelAt(4, 0), gdi::PixelOfEntry(5));
}

TEST_F(PlugInDeviceTest, WithoutASurfaceNothingIsDrawn) {
  slot.dc = nullptr;  // the configuration dialog's records
  PlugInDeviceScope scope(&slot);
  const FluxoDrawTable* draw = FluxoDraw(&slot);
  ASSERT_NE(draw, nullptr);
  const FluxoPoint points[] = {{0, 0}, {5, 5}, {0, 5}};
  draw->SelectPen(slot.dc, 3, FLUXO_PALETTE_INDEX(1));
  draw->Polygon(slot.dc, points, 3);
  draw->FillRect(slot.dc, 0, 0, 10, 10, FLUXO_PALETTE_INDEX(1));
  draw->TextOut(slot.dc, 0, 0, "text", FLUXO_PALETTE_INDEX(1));
  EXPECT_EQ(draw->GetEntryAt(slot.dc, 0, 0), 0);
  scope.Restore();
  EXPECT_EQ(slot.dc, nullptr);
}

}  // namespace
}  // namespace fluxo::test
