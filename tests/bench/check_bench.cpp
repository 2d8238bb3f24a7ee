// Benchmarks of the skin check.
// Goal: the whole check of a skin (fourteen screens drawn with the record, every finding) at most
// 20 ms, for the default skin and for a hostile one, so that it can run after every edit.
#include <benchmark/benchmark.h>

#include <climits>

#include "session/skin_check.h"

namespace {

void BM_CheckDefaultSkin(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  for (auto _ : state) benchmark::DoNotOptimize(session::CheckSkin(doc));
}
BENCHMARK(BM_CheckDefaultSkin)->Unit(benchmark::kMillisecond);

// Every number at an end of the 32-bit range, full-screen pictures in every slot (each of the
// wrong size, most with key green), texts in the colour of what lies beneath them.
void BM_CheckHostileSkin(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  for (std::size_t i = 0; i < skin::kFieldCount; ++i) {
    if (skin::kFields[i].kind == skin::FieldKind::kInteger)
      doc.fields[i] = i % 2 ? INT_MAX : INT_MIN;
  }
  imaging::Image big(256, 192, 0x303030);
  for (int y = 0; y < 192; y += 3)
    for (int x = 0; x < 256; x += 5) big.At(x, y) = 0x00F800;
  for (std::size_t i = 0; i < skin::kSlotCount; ++i) doc.slots[i] = big;
  for (std::size_t c = 0; c < skin::kColourCount; ++c) doc.colours[c] = 0x303030;
  for (auto _ : state) benchmark::DoNotOptimize(session::CheckSkin(doc));
}
BENCHMARK(BM_CheckHostileSkin)->Unit(benchmark::kMillisecond);

// A hostile skin whose numbers stay on the screen, so that every text and picture is measured.
void BM_CheckCrowdedSkin(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  imaging::Image tall(40, 300, 0x303030);
  for (std::size_t i = 0; i < skin::kSlotCount; ++i) doc.slots[i] = tall;
  for (std::size_t c = 0; c < skin::kColourCount; ++c) doc.colours[c] = 0x303030;
  for (auto _ : state) benchmark::DoNotOptimize(session::CheckSkin(doc));
}
BENCHMARK(BM_CheckCrowdedSkin)->Unit(benchmark::kMillisecond);

void BM_NearestLegibleColour(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  doc.Colour(skin::ColourId::gameInfoTextColor) = 0x303030;
  for (auto _ : state) {
    benchmark::DoNotOptimize(session::NearestLegibleColour(doc, skin::ColourId::gameInfoTextColor));
  }
}
BENCHMARK(BM_NearestLegibleColour)->Unit(benchmark::kMillisecond);

}  // namespace
