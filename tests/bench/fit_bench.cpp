// Fitting pictures into slots. Goals: a 6000 x 4000 JPEG photo into a 256 x 192 slot (cover,
// the default reduction) within 80 ms for the whole skinsmith-cli process (measured with hyperfine;
// BM_PhotoIntoSlot is its core); a fit of a prepared 24-megapixel source, as each adjustment in
// the import studio makes one, well within a 16 ms frame.
#include <benchmark/benchmark.h>

#include "imaging/jpeg_codec.h"
#include "imaging/picture_fit.h"
#include "test_support.h"

namespace {

imaging::FitSettings Cover() {
  imaging::FitSettings s;
  s.width = 256;
  s.height = 192;
  return s;
}

void BM_PhotoIntoSlot(benchmark::State& state) {
  const std::vector<std::uint8_t> jpeg = imaging::EncodeJpeg(testing_support::PhotoLikePicture(6000, 4000), 90);
  const imaging::FitSettings s = Cover();
  for (auto _ : state) {
    imaging::DecodedForFit decoded = imaging::DecodeForFit(jpeg, imaging::kNoBudget, &s);
    const imaging::FitSource source(std::move(*decoded.picture), s.key);
    benchmark::DoNotOptimize(source.Fit(s));
  }
  state.counters["jpeg_MB"] = static_cast<double>(jpeg.size()) / 1e6;
}
BENCHMARK(BM_PhotoIntoSlot)->Unit(benchmark::kMillisecond);

// Preparing a 24-megapixel source once, as the studio does when it opens.
void BM_PrepareSource24MP(benchmark::State& state) {
  const imaging::Image photo = testing_support::PhotoLikePicture(6000, 4000);
  for (auto _ : state) {
    imaging::FitSource source(photo, std::nullopt);
    benchmark::DoNotOptimize(source.levels().size());
  }
}
BENCHMARK(BM_PrepareSource24MP)->Unit(benchmark::kMillisecond);

// Each studio adjustment: another frame, zoom and dither of the prepared source.
void BM_AdjustFit24MP(benchmark::State& state) {
  const imaging::FitSource source(testing_support::PhotoLikePicture(6000, 4000), std::nullopt);
  imaging::FitSettings s = Cover();
  s.resampling = static_cast<imaging::Resampling>(state.range(0));
  int step = 0;
  for (auto _ : state) {
    ++step;
    s.focus_x = (step % 50) / 50.0;
    s.zoom = 1 + (step % 8) * 0.5;
    s.dither = static_cast<imaging::DitherKind>(step % 4);
    benchmark::DoNotOptimize(source.Fit(s));
  }
}
BENCHMARK(BM_AdjustFit24MP)->Arg(0)->Arg(1)->ArgName("nearest")->Unit(benchmark::kMillisecond);

}  // namespace
