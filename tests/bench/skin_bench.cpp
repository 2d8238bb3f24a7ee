// Benchmarks of the settings file and skin saving.
// Goals: ReadSkinSettings of the default text at most 50 us; BuildSkinSettingsText at most 20 us;
// SaveSkin of the default skin into a temporary folder at most 30 ms.
#include <benchmark/benchmark.h>

#include "skin/settings_reader.h"
#include "skin/skin_saver.h"
#include "test_support.h"

namespace {

class NullFeedback : public skin::Feedback {
 public:
  void ShowError(const std::string&) override {}
  void SetProgress(int) override {}
};

skin::SaveOptions Options() {
  skin::SaveOptions options;
  options.last_update = "2026/12/08-07:00:00";
  return options;
}

void BM_ReadSkinSettings(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  const std::string text = skin::BuildSkinSettingsText(doc, Options());
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                            text.size());
  for (auto _ : state) {
    skin::ReadSkinSettings(bytes, doc, base::kDefaultCodePage);
    benchmark::DoNotOptimize(doc.fields);
  }
}
BENCHMARK(BM_ReadSkinSettings)->Unit(benchmark::kMicrosecond);

void BM_BuildSkinSettingsText(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  const skin::SaveOptions options = Options();
  for (auto _ : state) benchmark::DoNotOptimize(skin::BuildSkinSettingsText(doc, options));
}
BENCHMARK(BM_BuildSkinSettingsText)->Unit(benchmark::kMicrosecond);

void BM_SaveSkin(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  const skin::SaveOptions options = Options();
  testing_support::TempDir dir;
  NullFeedback feedback;
  for (auto _ : state) skin::SaveSkin(doc, dir.folder(), options, feedback);
}
BENCHMARK(BM_SaveSkin)->Unit(benchmark::kMillisecond);

}  // namespace
