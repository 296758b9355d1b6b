#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/gdi/frame_exchange.h"
#include "platform/gdi/frame_surface.h"

namespace fluxo::gdi {
namespace {

TEST(FrameExchange, HandsOverTheNewestFrameOnce) {
  FrameExchange exchange;
  uint64_t serial = 0;
  std::vector<uint8_t> pixels;
  int w = -1, h = -1;
  EXPECT_FALSE(exchange.TakeIfNewer(serial, pixels, w, h));
  const uint8_t first[] = {1, 2, 3, 4, 5, 6};
  exchange.Publish(first, 3, 2);
  const uint8_t second[] = {9, 8};
  exchange.Publish(second, 1, 2);
  EXPECT_EQ(exchange.Serial(), 2u);
  ASSERT_TRUE(exchange.TakeIfNewer(serial, pixels, w, h));
  EXPECT_EQ(serial, 2u);
  EXPECT_EQ(pixels, (std::vector<uint8_t>{9, 8}));
  EXPECT_EQ(w, 1);
  EXPECT_EQ(h, 2);
  EXPECT_FALSE(exchange.TakeIfNewer(serial, pixels, w, h));
}

TEST(FrameExchange, PublishingAnEmptyFrameIsSafe) {
  FrameExchange exchange;
  exchange.Publish(nullptr, 0, 5);
  uint64_t serial = 0;
  std::vector<uint8_t> pixels{1};
  int w = 9, h = 9;
  ASSERT_TRUE(exchange.TakeIfNewer(serial, pixels, w, h));
  EXPECT_TRUE(pixels.empty());
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, 0);
}

TEST(FrameExchange, ConcurrentPublishAndTakeSeeWholeFrames) {
  FrameExchange exchange;
  std::thread producer([&] {
    std::vector<uint8_t> frame(4096);
    for (int i = 0; i < 200; ++i) {
      std::fill(frame.begin(), frame.end(), static_cast<uint8_t>(i));
      exchange.Publish(frame.data(), 64, 64);
    }
  });
  uint64_t serial = 0;
  std::vector<uint8_t> pixels;
  int w, h;
  while (serial < 200) {
    if (!exchange.TakeIfNewer(serial, pixels, w, h)) continue;
    ASSERT_EQ(pixels.size(), 4096u);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), pixels.front()), 4096);  // never torn
  }
  producer.join();
}

// The tiles a presenter is told about, as rectangles, for readable failures.
std::vector<Rect> Changes(FrameExchange& exchange, ChangedTiles& tiles) {
  exchange.TakeChanges(tiles);
  return tiles.Rects();
}

TEST(FrameExchange, ReportsOnlyTheTilesThatChanged) {
  constexpr int kW = 2 * ChangedTiles::kTileWidth + 5, kH = ChangedTiles::kTileHeight + 3;
  FrameExchange exchange;
  ChangedTiles tiles;
  EXPECT_TRUE(Changes(exchange, tiles).empty());
  EXPECT_EQ(tiles.Width(), 0);

  std::vector<uint8_t> frame(kW * kH, 7);
  exchange.Publish(frame.data(), kW, kH);
  // A new size: everything.
  EXPECT_EQ(Changes(exchange, tiles), (std::vector<Rect>{{0, 0, kW, kH}}));
  EXPECT_EQ(tiles.Width(), kW);
  EXPECT_EQ(tiles.Height(), kH);
  EXPECT_TRUE(Changes(exchange, tiles).empty());

  exchange.Publish(frame.data(), kW, kH);  // the same picture again
  EXPECT_TRUE(Changes(exchange, tiles).empty());
  EXPECT_FALSE(tiles.Any());

  frame[3 * kW + 40] = 9;  // the middle tile of the first band
  exchange.Publish(frame.data(), kW, kH);
  frame[(kH - 1) * kW + kW - 1] = 9;  // the last pixel: changes add up until taken
  exchange.Publish(frame.data(), kW, kH);
  EXPECT_EQ(Changes(exchange, tiles), (std::vector<Rect>{{32, 0, 64, 16}, {64, 16, kW, kH}}));
  exchange.Read([&](const uint8_t* pixels, int width, int height) {
    ASSERT_EQ(width * height, kW * kH);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), pixels));
  });

  exchange.Publish(frame.data(), kH, kW);  // same bytes, another shape
  EXPECT_EQ(Changes(exchange, tiles), (std::vector<Rect>{{0, 0, kH, kW}}));  // all of the new shape
  EXPECT_EQ(tiles.Width(), kH);
}

TEST(FrameExchange, AMirrorFedWithChangedTilesEndsEqualToTheLastFrame) {
  // What the presenter does, while the render thread keeps publishing frames
  // in which single rows change: no change may slip between looking and reading.
  constexpr int kSide = 40;
  FrameExchange exchange;
  std::vector<uint8_t> frame(kSide * kSide, 0);
  exchange.Publish(frame.data(), kSide, kSide);
  std::atomic<bool> done{false};
  std::thread producer([&] {
    for (int i = 1; i <= 3000; ++i) {
      const int row = (i * 7) % kSide;
      const int x = (i * 13) % kSide;
      std::fill_n(frame.begin() + row * kSide + x, kSide - x, static_cast<uint8_t>(i));
      exchange.Publish(frame.data(), kSide, kSide);
    }
    done = true;
  });
  std::vector<uint8_t> mirror(frame.size(), 0xAA);
  ChangedTiles tiles;
  auto follow = [&] {
    exchange.TakeChanges(tiles);
    const std::vector<Rect> rects = tiles.Rects();
    exchange.Read([&](const uint8_t* pixels, int, int) {
      for (const Rect& r : rects)
        for (int y = r.top; y < r.bottom; ++y)
          std::copy(pixels + y * kSide + r.left, pixels + y * kSide + r.right, mirror.begin() + y * kSide + r.left);
    });
  };
  while (!done) follow();
  producer.join();
  follow();
  EXPECT_EQ(mirror, frame);
}

TEST(FrameSurface, FlushPublishesACopyAndTheSurfaceKeepsItsPixels) {
  FrameExchange exchange;
  FrameSurface s(3, 2);
  s.Flush();  // nothing attached: nothing happens
  s.AttachPresentation(&exchange, nullptr);
  s.SetPixel(1, 1, PaletteIndex(4));
  s.Flush();
  uint64_t serial = 0;
  std::vector<uint8_t> pixels;
  int w, h;
  ASSERT_TRUE(exchange.TakeIfNewer(serial, pixels, w, h));
  EXPECT_EQ(pixels, (std::vector<uint8_t>{0, 0, 0, 0, 14, 0}));
  EXPECT_EQ(s.PixelAt(1, 1), 14);
  s.SetPixel(0, 0, kWhite);  // later drawing does not reach the published copy
  EXPECT_EQ(pixels[0], 0);
}

TEST(RefreshClock, StopWakesAWaiterAndLaterWaitsReturnAtOnce) {
  // At 0.01 Hz a waiter that Stop() failed to wake would hang for 100 s.
  RefreshClock clock(0.01);
  std::thread waiter([&] { clock.WaitForNextRefresh(); });
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  clock.Stop();
  waiter.join();
  clock.WaitForNextRefresh();
  clock.WaitForNextRefresh();
}

TEST(RefreshClock, FlushWaitsForTheClockAfterPublishing) {
  FrameExchange exchange;
  RefreshClock clock(1000.0);
  FrameSurface s(2, 2);
  s.AttachPresentation(&exchange, &clock);
  for (int i = 0; i < 3; ++i) s.Flush();
  EXPECT_EQ(exchange.Serial(), 3u);
}

TEST(IndicesToRgb, MatchesAPlainLookupForEveryLength) {
  uint32_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = 0xFF000000u | (static_cast<uint32_t>(i) * 0x010203u);
  std::vector<uint8_t> indices(1037);
  uint32_t seed = 7;
  for (uint8_t& v : indices) v = static_cast<uint8_t>((seed = seed * 214013u + 2531011u) >> 16);
  for (size_t count : {0, 1, 7, 8, 9, 15, 16, 17, 31, 1037}) {
    std::vector<uint32_t> out(count + 1, 0xDEADBEEF);
    IndicesToRgb(indices.data(), count, table, out.data());
    for (size_t i = 0; i < count; ++i) ASSERT_EQ(out[i], table[indices[i]]) << count << " " << i;
    EXPECT_EQ(out[count], 0xDEADBEEFu) << "wrote past the end";
  }
}

TEST(IndicesToRgb, ARectangleIsConvertedRowByRowBetweenItsStrides) {
  uint32_t table[256];
  for (int i = 0; i < 256; ++i) table[i] = 0xFF000000u | (static_cast<uint32_t>(i) * 0x030201u);
  constexpr size_t kStride = 45, kOutStride = 29;
  std::vector<uint8_t> indices(kStride * 6);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>(i * 37 + 11);
  for (size_t count : {0, 1, 17, 23}) {
    for (int rows : {0, 1, 5}) {
      std::vector<uint32_t> out(kOutStride * 6, 0xDEADBEEF);
      RectIndicesToRgb(indices.data() + kStride + 3, kStride, count, rows, table, out.data() + 2, kOutStride);
      for (size_t i = 0; i < out.size(); ++i) {
        const size_t row = i / kOutStride, column = i % kOutStride;
        const bool inside = row < static_cast<size_t>(rows) && column >= 2 && column < 2 + count;
        const uint32_t expected = inside ? table[indices[(row + 1) * kStride + 3 + column - 2]] : 0xDEADBEEFu;
        ASSERT_EQ(out[i], expected) << count << "x" << rows << " at " << row << "," << column;
      }
    }
  }
}

TEST(IndicesToRgb, APaletteTickRecoloursThroughTheTable) {
  PaletteTable palette;
  const uint8_t red[] = {255, 0, 0};
  palette.AnimateEntries(5, 1, red);
  uint32_t table[256];
  palette.CopyTo(table);
  const uint8_t pixels[] = {PixelOfEntry(5), kWhitePixel};
  uint32_t out[2];
  IndicesToRgb(pixels, 2, table, out);
  EXPECT_EQ(out[0], 0xFFFF0000u);
  EXPECT_EQ(out[1], 0xFFFFFFFFu);
}

}  // namespace
}  // namespace fluxo::gdi
