#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/gdi/frame_exchange.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::gdi {
namespace {

// Not whole tiles, so the narrow last column and band are drawn into too.
constexpr int kW = 6 * ChangedTiles::kTileWidth + 9;
constexpr int kH = 7 * ChangedTiles::kTileHeight + 5;

struct Operation {
  std::string name;
  std::function<void(FrameSurface&)> draw;
};

// A backdrop of differently coloured tile-sized blocks, so copies and
// inversions change what they touch.
void PaintBackdrop(FrameSurface& s) {
  for (int y = 0; y < kH; y += 11) {
    for (int x = 0; x < kW; x += 23) {
      s.FillRect({x, y, x + 23, y + 11}, Brush::Solid(PaletteIndex((x * 7 + y * 3) % 200)));
    }
  }
}

std::vector<Operation> EveryDrawingOperation(const FrameSurface& memory) {
  static const uint8_t kDib[4 * 3] = {1, 2, 3, 0, 40, 50, 60, 0, 100, 110, 120, 0};
  const Point zigzag[] = {{3, 100}, {60, 5}, {120, 110}, {kW - 1, 40}};
  const Point curve[] = {{10, 10}, {190, 20}, {10, 100}, {150, 115}};
  return {
      {"LineTo", [](FrameSurface& s) { s.MoveTo(-5, 3), s.LineTo(kW + 5, kH - 2); }},
      {"wide pen LineTo",
       [](FrameSurface& s) {
         s.SelectPen(Pen::Solid(9, PaletteIndex(222)));
         s.MoveTo(kW - 3, 2), s.LineTo(4, kH - 1);
       }},
      {"Polyline", [=](FrameSurface& s) { s.Polyline(zigzag, 4); }},
      {"PolyBezier", [=](FrameSurface& s) { s.PolyBezier(curve, 4); }},
      {"Polygon", [=](FrameSurface& s) { s.Polygon(zigzag, 4); }},
      {"Ellipse", [](FrameSurface& s) { s.Ellipse(150, 60, kW + 20, kH + 9); }},
      {"Rectangle", [](FrameSurface& s) { s.Rectangle(33, 17, 97, 50); }},
      {"FillRect", [](FrameSurface& s) { s.FillRect({64, 80, 70, 81}, Brush::Solid(PaletteIndex(233))); }},
      {"InvertRect", [](FrameSurface& s) { s.InvertRect({kW - 4, kH - 3, kW, kH}); }},
      {"FillRegion",
       [](FrameSurface& s) {
         s.FillRegion(Region::FromEllipse({100, 0, 140, 30}), Brush::Solid(PaletteIndex(7)));
       }},
      {"SetPixel", [](FrameSurface& s) { s.SetPixel(kW - 1, 50, kWhite); }},
      {"BitBlt within", [](FrameSurface& s) { s.BitBlt(40, 70, 50, 30, 0, 0); }},
      {"StretchBlt within mirrored", [](FrameSurface& s) { s.StretchBlt(150, 10, -60, 40, 5, 5, 20, 20); }},
      {"BitBlt from a bitmap", [&memory](FrameSurface& s) { s.BitBlt(170, 100, 30, 30, memory, 0, 0); }},
      {"StretchBlt from a bitmap",
       [&memory](FrameSurface& s) { s.StretchBlt(0, 90, 40, 25, memory, 0, 0, 8, 8); }},
      {"StretchDib",
       [](FrameSurface& s) { s.StretchDib(90, 40, 30, 45, 0, 0, 3, 3, kDib, DibInfo{3, 3}); }},
      {"DrawEdge", [](FrameSurface& s) { s.DrawEdge({5, 5, 60, 40}, kEdgeRaised, kBorderRect | kBorderMiddle); }},
      {"TextOut", [](FrameSurface& s) { s.TextOut(100, 60, "Tiles"); }},
      {"DrawText",
       [](FrameSurface& s) {
         Rect box{0, 40, kW, 80};
         s.DrawText("every tile drawn", box, kTextCenter | kTextWordBreak);
       }},
      {"invert mix mode",
       [](FrameSurface& s) {
         s.SetMixMode(MixMode::InvertDestination);
         s.MoveTo(0, kH - 1), s.LineTo(kW, kH - 1);
         s.SetMixMode(MixMode::CopyPen);
       }},
      {"clipped fill",
       [](FrameSurface& s) {
         const Region clip = Region::FromEllipse({20, 20, 120, 100});
         s.SelectClipRegion(&clip);
         s.FillRect(s.ClientRect(), Brush::Solid(PaletteIndex(99)));
         s.SelectClipRegion(nullptr);
       }},
      {"raw pixels", [](FrameSurface& s) { s.MutablePixels()[kW * 77 + 130] ^= 0x55; }},
  };
}

// The tiles where two pictures differ, as the exchange reports them.
std::vector<Rect> TilesThatDiffer(const std::vector<uint8_t>& a, const FrameSurface& b) {
  ChangedTiles tiles;
  tiles.Reset(kW, kH, false);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      if (a[static_cast<size_t>(y) * kW + x] != b.PixelAt(x, y)) tiles.Mark(x, y);
    }
  }
  return tiles.Rects();
}

std::vector<uint8_t> PixelsOf(const FrameSurface& s) { return {s.Pixels(), s.Pixels() + size_t{kW} * kH}; }

TEST(DrawnTiles, EveryDrawingOperationReachesThePublishedCopy) {
  FrameSurface memory(32, 32);
  memory.FillRect({0, 0, 32, 32}, Brush::Solid(PaletteIndex(180)));
  memory.Ellipse(2, 2, 30, 30);
  FrameExchange exchange;
  FrameSurface s(kW, kH);
  s.AttachPresentation(&exchange, nullptr);
  ChangedTiles reported;
  for (const Operation& op : EveryDrawingOperation(memory)) {
    SCOPED_TRACE(op.name);
    PaintBackdrop(s);
    s.Flush();
    exchange.TakeChanges(reported);
    const std::vector<uint8_t> before = PixelsOf(s);

    op.draw(s);
    const std::vector<Rect> differing = TilesThatDiffer(before, s);
    ASSERT_FALSE(differing.empty()) << "the operation drew nothing";
    s.Flush();
    exchange.TakeChanges(reported);
    EXPECT_EQ(reported.Rects(), differing);
    exchange.Read([&](const uint8_t* pixels, int width, int height) {
      ASSERT_EQ(width, kW);
      ASSERT_EQ(height, kH);
      EXPECT_TRUE(std::equal(pixels, pixels + size_t{kW} * kH, s.Pixels())) << "a stale tile was left";
    });
  }
}

TEST(DrawnTiles, AFlushWithNothingDrawnReportsNothingAndANewSurfaceEverything) {
  FrameExchange exchange;
  ChangedTiles reported;
  {
    FrameSurface first(kW, kH);
    first.AttachPresentation(&exchange, nullptr);
    first.FillRect({0, 0, kW, kH}, Brush::Solid(PaletteIndex(5)));
    first.Flush();
    exchange.TakeChanges(reported);
    first.Flush();
    exchange.TakeChanges(reported);
    EXPECT_FALSE(reported.Any());
  }
  // A surface of the same size replacing it starts black, undrawn: its first
  // flush still replaces the old picture everywhere.
  FrameSurface second(kW, kH);
  second.AttachPresentation(&exchange, nullptr);
  second.Flush();
  exchange.TakeChanges(reported);
  EXPECT_EQ(reported.Rects(), (std::vector<Rect>{{0, 0, kW, kH}}));
  exchange.Read([&](const uint8_t* pixels, int, int) {
    EXPECT_TRUE(std::all_of(pixels, pixels + size_t{kW} * kH, [](uint8_t v) { return v == kBlackPixel; }));
  });
}

}  // namespace
}  // namespace fluxo::gdi
