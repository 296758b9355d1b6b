// The slide show's picture work at 1920x1080: reading a bitmap file's bytes,
// turning it into an 8-bit picture, one smoothing pass.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "modules/kit/bitmap_file.h"
#include "modules/kit/index_picture.h"

namespace fluxo {
namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A 24-bit picture, or an 8-bit run-length one of short runs.
std::vector<uint8_t> BitmapFile(bool runLength) {
  std::vector<uint8_t> pixels;
  if (runLength) {
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; x += 8) pixels.insert(pixels.end(), {8, static_cast<uint8_t>(x ^ y)});
      pixels.insert(pixels.end(), {0, 0});
    }
    pixels.insert(pixels.end(), {0, 1});
  } else {
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth * 3; ++x) pixels.push_back(static_cast<uint8_t>(x * 7 + y));
  }
  const uint32_t table = runLength ? 1024 : 0;
  std::vector<uint8_t> file{'B', 'M'};
  Put32(file, 54 + table + static_cast<uint32_t>(pixels.size()));
  Put32(file, 0);
  Put32(file, 54 + table);
  for (uint32_t v : {40u, uint32_t{kWidth}, uint32_t{kHeight}, (runLength ? 8u : 24u) << 16 | 1u, runLength ? 1u : 0u,
                     0u, 0u, 0u, 0u, 0u})
    Put32(file, v);
  for (uint32_t i = 0; i < table / 4; ++i) Put32(file, i * 0x010101);
  file.insert(file.end(), pixels.begin(), pixels.end());
  return file;
}

void BM_BitmapReadAndConvert(benchmark::State& state) {
  const std::vector<uint8_t> file = BitmapFile(state.range(0) != 0);
  for (auto _ : state) {
    std::optional<kit::SourceDib> dib = kit::ParseBitmapFile(file);
    std::optional<kit::IndexPicture> picture = kit::ConvertToIndexPicture(*dib, false);
    benchmark::DoNotOptimize(picture->pixels.data());
  }
}
BENCHMARK(BM_BitmapReadAndConvert)->ArgName("runLength")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_BitmapSmoothingPass(benchmark::State& state) {
  kit::IndexPicture picture = *kit::ConvertToIndexPicture(*kit::ParseBitmapFile(BitmapFile(false)), false);
  for (auto _ : state) {
    kit::SmoothPicture(picture);
    benchmark::DoNotOptimize(picture.pixels.data());
  }
}
BENCHMARK(BM_BitmapSmoothingPass)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fluxo
