// The memory a long undo history takes. Goal: 200 steps over the default skin cost little, because
// every state shares the document's pictures.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include "session/skin_history.h"

namespace {

std::size_t HeapInUse() { return mallinfo2().uordblks; }

void BM_HistoryOf200Steps(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::size_t before = HeapInUse();
    session::SkinHistory history;
    for (int i = 0; i < 200; ++i) {
      const skin::SkinDocument was = doc;
      doc.Field(skin::FieldId::big_clock_x) = i;
      doc.info.Title = "Step " + std::to_string(i);
      history.Record(was, doc, {session::StepKind::kChange, skin::FieldId::big_clock_x});
    }
    bytes = HeapInUse() - before;
    benchmark::DoNotOptimize(history);
  }
  state.counters["history_bytes"] = static_cast<double>(bytes);
  state.counters["bytes_per_step"] = static_cast<double>(bytes) / 200;
  std::size_t pictures = 0;
  for (const imaging::SharedImage& slot : doc.slots) pictures += slot->pixels.size() * 4;
  state.counters["skin_picture_bytes"] = static_cast<double>(pictures);
}
BENCHMARK(BM_HistoryOf200Steps)->Unit(benchmark::kMicrosecond);

}  // namespace

// The cost of one step that brings a picture into a full history: the history then counts the
// pictures that only it holds, over every step it keeps.
void BM_ImportIntoAFullHistory(benchmark::State& state) {
  skin::SkinDocument doc;
  skin::ResetSkinDefaults(doc);
  session::SkinHistory history;
  for (std::size_t i = 0; i < session::SkinHistory::kMaxSteps; ++i) {
    const skin::SkinDocument was = doc;
    doc.SetSlot(skin::SlotId::btn3, imaging::Image(2, 2, static_cast<imaging::Rgb>(i)));
    history.Record(was, doc, {session::StepKind::kImport, skin::SlotId::btn3});
  }
  for (auto _ : state) {
    const skin::SkinDocument was = doc;
    doc.SetSlot(skin::SlotId::btn3, imaging::Image(2, 2));
    history.Record(was, doc, {session::StepKind::kImport, skin::SlotId::btn3});
  }
  state.counters["steps"] = static_cast<double>(history.UndoCount());
}
BENCHMARK(BM_ImportIntoAFullHistory)->Unit(benchmark::kMicrosecond);
