// Benchmarks of the preview.
// Goals: drawing one screen pair and composing it at zoom 1.0 at most 0.3 ms (median over the
// fourteen screens); at the largest zoom (5.05) at most 1.5 ms. Recording what wrote each pixel
// (drawn again only when the pointer asks, after a change) at most 0.5 ms at zoom 1.0. The
// console's views (View > Console colours) add less than 0.2 ms to a redraw at zoom 1.0.
#include <benchmark/benchmark.h>

#include "preview/preview.h"

namespace {

void BM_RenderPreview(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  const int screen = static_cast<int>(state.range(0));
  const float zoom = state.range(1) == 0 ? 1.0f : 5.0500016f;
  for (auto _ : state) benchmark::DoNotOptimize(preview::RenderPreview(doc, screen, 0, zoom));
}
BENCHMARK(BM_RenderPreview)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 13, 1), {0, 1}})
    ->ArgNames({"screen", "max_zoom"})
    ->Unit(benchmark::kMicrosecond);

void BM_RenderPreviewRecorded(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  const int screen = static_cast<int>(state.range(0));
  preview::ScreenSources sources;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        preview::ComposeCanvas(preview::DrawScreens(doc, screen, &sources), 0, 1.0f));
  }
}
BENCHMARK(BM_RenderPreviewRecorded)
    ->DenseRange(0, 13, 1)
    ->ArgName("screen")
    ->Unit(benchmark::kMicrosecond);

// What a console view adds to a redraw: both screens through the colour table.
void BM_ConsoleView(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  preview::ScreenPair screens = preview::DrawScreens(doc, 0);
  const auto view = static_cast<preview::ScreenColours>(state.range(0));
  for (auto _ : state) {
    preview::ShowAs(screens.top, view);
    preview::ShowAs(screens.bottom, view);
    benchmark::DoNotOptimize(screens.top.pixels.data());
    benchmark::DoNotOptimize(screens.bottom.pixels.data());
  }
}
BENCHMARK(BM_ConsoleView)
    ->Arg(static_cast<int>(preview::ScreenColours::kConsole))
    ->Arg(static_cast<int>(preview::ScreenColours::kOriginal))
    ->ArgName("view")
    ->Unit(benchmark::kMicrosecond);

}  // namespace
