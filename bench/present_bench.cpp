#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/gdi/frame_exchange.h"
#include "platform/gdi/frame_surface.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr size_t kPixels = static_cast<size_t>(kWidth) * kHeight;

std::vector<uint8_t> SampleFrame() {
  std::vector<uint8_t> indices(kPixels);
  uint32_t seed = 1;
  for (uint8_t& v : indices) v = static_cast<uint8_t>((seed = seed * 214013u + 2531011u) >> 16);
  return indices;
}

// The presenter's conversion of a full HD frame of palette indices to RGB.
void BM_IndicesToRgb(benchmark::State& state) {
  const std::vector<uint8_t> indices = SampleFrame();
  uint32_t table[256];
  fluxo::gdi::PaletteTable().CopyTo(table);
  std::vector<uint32_t> out(kPixels);
  for (auto _ : state) {
    fluxo::gdi::IndicesToRgb(indices.data(), kPixels, table, out.data());
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kPixels * 4);
}
BENCHMARK(BM_IndicesToRgb)->Unit(benchmark::kMillisecond);

// What a present converts: half the 32x16 tiles of a frame, every other one,
// tile by tile into the shared strip. `cold` first evicts the caches (64 MB
// written, twice the last level), as a present finds them after a refresh
// period of other work on a busy machine; warm against cold shows what that
// costs per pixel.
void BM_ConvertScatteredTiles(benchmark::State& state, bool cold) {
  constexpr int kTileW = fluxo::gdi::ChangedTiles::kTileWidth, kTileH = fluxo::gdi::ChangedTiles::kTileHeight;
  const std::vector<uint8_t> indices = SampleFrame();
  uint32_t table[256];
  fluxo::gdi::PaletteTable().CopyTo(table);
  std::vector<uint32_t> strip(static_cast<size_t>(kWidth) * 256);
  std::vector<uint8_t> evictor(cold ? size_t{64} << 20 : 0);
  for (auto _ : state) {
    if (cold) {
      state.PauseTiming();
      std::memset(evictor.data(), static_cast<int>(state.iterations() & 0xFF), evictor.size());
      benchmark::ClobberMemory();
      state.ResumeTiming();
    }
    size_t at = 0;
    for (int top = 0; top + kTileH <= kHeight; top += kTileH) {
      for (int left = (top / kTileH) % 2 * kTileW; left + kTileW <= kWidth; left += 2 * kTileW) {
        fluxo::gdi::RectIndicesToRgb(indices.data() + static_cast<size_t>(top) * kWidth + left, kWidth, kTileW,
                                     kTileH, table, strip.data() + at, kTileW);
        at = (at + kTileW * kTileH) % strip.size();
      }
    }
    benchmark::DoNotOptimize(strip.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPixels / 2));
}
BENCHMARK_CAPTURE(BM_ConvertScatteredTiles, warm, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ConvertScatteredTiles, cold, true)->Unit(benchmark::kMicrosecond);

// The floor for the conversion: copying the same amount of output.
void BM_MemcpyFrameOutput(benchmark::State& state) {
  std::vector<uint32_t> source(kPixels, 0xFF123456u);
  std::vector<uint32_t> out(kPixels);
  for (auto _ : state) {
    std::memcpy(out.data(), source.data(), kPixels * 4);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kPixels * 4);
}
BENCHMARK(BM_MemcpyFrameOutput)->Unit(benchmark::kMillisecond);

// The render thread's flush with a presenter attached but no refresh pacing,
// after a pass that drew nothing: no tile is looked at.
void BM_FlushNothingDrawn(benchmark::State& state) {
  fluxo::gdi::FrameSurface surface(kWidth, kHeight);
  const std::vector<uint8_t> indices = SampleFrame();
  std::memcpy(surface.MutablePixels(), indices.data(), kPixels);
  fluxo::gdi::FrameExchange exchange;
  surface.AttachPresentation(&exchange, nullptr);
  for (auto _ : state) surface.Flush();
}
BENCHMARK(BM_FlushNothingDrawn)->Unit(benchmark::kMicrosecond);

// The same when every tile was drawn into and every row changed: each tile
// is compared and copied.
void BM_FlushEveryTileDrawn(benchmark::State& state) {
  fluxo::gdi::FrameSurface surface(kWidth, kHeight);
  const std::vector<uint8_t> indices = SampleFrame();
  std::memcpy(surface.MutablePixels(), indices.data(), kPixels);
  fluxo::gdi::FrameExchange exchange;
  surface.AttachPresentation(&exchange, nullptr);
  for (auto _ : state) {
    state.PauseTiming();
    uint8_t* pixels = surface.MutablePixels();  // marks every tile
    for (int y = 0; y < kHeight; ++y) ++pixels[static_cast<size_t>(y) * kWidth + y % kWidth];
    state.ResumeTiming();
    surface.Flush();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kPixels);
}
BENCHMARK(BM_FlushEveryTileDrawn)->Unit(benchmark::kMillisecond);

}  // namespace
