// Benchmarks of skin loading and colour reduction.
// Goals: the default skin from a folder of 16-bit BMPs at most 10 ms; the same skin as a ZIP of
// PNGs at most 60 ms; DitherToRgb555 at least 50 megapixels per second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "imaging/dither.h"
#include "imaging/png_codec.h"
#include "skin/skin_loader.h"
#include "skin/skin_saver.h"
#include "test_support.h"
#include "zip_writer.h"

namespace {

class NullFeedback : public skin::Feedback {
 public:
  void ShowError(const std::string&) override {}
  void SetProgress(int) override {}
};

struct SavedSkin {
  testing_support::TempDir dir;
  std::string zip_path;

  SavedSkin() {
    skin::SkinDocument doc;
    skin::ResetSkinDefaults(doc);
    skin::SaveOptions options;
    NullFeedback feedback;
    std::filesystem::create_directories(dir.path() / "skin");
    skin::SaveSkin(doc, dir.folder() + "skin/", options, feedback);
    std::ifstream in(dir.path() / "skin/uisettings.ini", std::ios::binary);
    std::vector<testing_support::ZipEntry> entries{
        {"skin/uisettings.ini",
         {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}}};
    for (std::size_t s = 0; s < skin::kSlotCount; ++s) {
      const std::vector<std::uint8_t> png = imaging::EncodePng(doc.slots[s]);
      entries.push_back({"skin/" + std::string(skin::kSlots[s].file), {png.begin(), png.end()}});
    }
    zip_path = dir.folder() + "skin.zip";
    testing_support::WriteZip(zip_path, entries);
  }
};

void BM_OpenSkinFolder(benchmark::State& state) {
  SavedSkin saved;
  skin::SkinDocument doc;
  NullFeedback feedback;
  for (auto _ : state)
    skin::OpenSkinFolder(doc, saved.dir.folder() + "skin/", skin::LoadOptions(), feedback);
}
BENCHMARK(BM_OpenSkinFolder)->Unit(benchmark::kMillisecond);

void BM_OpenSkinZipOfPngs(benchmark::State& state) {
  SavedSkin saved;
  skin::SkinDocument doc;
  NullFeedback feedback;
  for (auto _ : state) skin::OpenSkinZip(doc, saved.zip_path, skin::LoadOptions(), feedback);
}
BENCHMARK(BM_OpenSkinZipOfPngs)->Unit(benchmark::kMillisecond);

void BM_DitherToRgb555(benchmark::State& state) {
  imaging::Image source(1024, 1024);
  for (std::size_t i = 0; i < source.pixels.size(); ++i) {
    source.pixels[i] = imaging::MakeRgb(i * 7 % 256, i * 13 % 256, i * 29 % 256);
  }
  for (auto _ : state) {
    state.PauseTiming();
    imaging::Image image = source;
    state.ResumeTiming();
    if (state.range(0) == 0) {
      imaging::DitherToRgb555(image);
    } else {
      imaging::ReduceToRgb555(image, imaging::DitherKind::kSerpentine, 100);
    }
    benchmark::DoNotOptimize(image.pixels.data());
  }
  state.counters["Mpx/s"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * 1024 * 1024 / 1e6, benchmark::Counter::kIsRate);
}
// 0: the classic reduction of a plain import; 1: the fitted imports' reduction to the console's
// levels.
BENCHMARK(BM_DitherToRgb555)->Arg(0)->Arg(1)->ArgName("serpentine")->Unit(benchmark::kMillisecond);

}  // namespace
