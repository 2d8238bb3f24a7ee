// Benchmarks of the editor on Qt's offscreen platform.
// Goals: from start to the first preview shown at most 500 ms. From an element edit to the new
// canvas painted on screen under 0.3 ms at zoom 1, and at the largest zoom at most 1.5 times the
// zoom-1 figure: the view paints only what is visible, so the cost follows the size of the
// preview area, not the zoom. (Resident memory after start-up, at most 150 MB, is read from /proc
// of the running editor.)
#include <benchmark/benchmark.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QSpinBox>
#include <QWheelEvent>
#include <cstdlib>

#include "app/fixed_numbers.h"
#include "app/shell.h"
#include "test_support.h"

namespace {

class NoDialogs : public app::UserDialogs {
 public:
  std::string ChooseFolder(const std::string&, const std::string&) override { return {}; }
  std::string ChooseOpenFile(const std::string&, const std::string&, const std::string&) override {
    return {};
  }
  SaveChoice ChooseSaveFile(const std::string&, const std::string&,
                            const std::vector<std::string>&) override {
    return {};
  }
  void ShowError(const std::string&, const std::string&) override {}
  imaging::Rgb EditColour(imaging::Rgb given, const std::string&,
                          std::function<void(imaging::Rgb)>) override {
    return given;
  }
  void ShowInformationBox() override {}
  void ShowUserGuide(const std::string&) override {}
  void CopyToClipboard(const imaging::Image&) override {}
  SaveAnswer AskSaveChanges(std::string_view) override { return SaveAnswer::kDiscard; }
};

void BM_StartToFirstPreview(benchmark::State& state) {
  testing_support::TempDir dir;
  NoDialogs dialogs;
  for (auto _ : state) {
    i18n::UiTexts texts;
    session::SkinSession session;
    app::Shell shell(dialogs, session, texts,
                     {dir.folder(), dir.folder() + "settings/settings.ini", ""});
    shell.Start();
    shell.window()->show();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_StartToFirstPreview)->Unit(benchmark::kMillisecond);

// One wheel notch up over the middle of the preview, as the mouse sends it.
void WheelUp(QWidget* viewport) {
  const QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
  QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(viewport, &wheel);
}

// Arguments: wheel notches up from zoom 1 (27 reach the largest zoom, 5.05), and the client size
// of the window (0: the size it opens at, 1: about a maximised window on a 1600 x 1200 desktop).
void BM_ElementEditToScreen(benchmark::State& state) {
  testing_support::TempDir dir;
  NoDialogs dialogs;
  i18n::UiTexts texts;
  session::SkinSession session;
  app::Shell shell(dialogs, session, texts,
                   {dir.folder(), dir.folder() + "settings/settings.ini", ""});
  shell.Start();
  app::MainWindow& window = *shell.window();
  if (state.range(1) == 1) window.resize(1600, 1130);
  window.show();
  QCoreApplication::processEvents();
  auto* area = static_cast<QAbstractScrollArea*>(window.Gadget(app::kGadgetPreviewArea));
  for (int i = 0; i < state.range(0); ++i) WheelUp(area->viewport());
  QCoreApplication::processEvents();
  auto* spin = static_cast<QSpinBox*>(window.panel()->Widget(skin::FieldId::big_clock_x));
  int value = 0;
  for (auto _ : state) {
    spin->setValue(value = (value + 1) % 200);
    QCoreApplication::processEvents();
  }
  state.counters["zoom"] = shell.state().preview_zoom;
}
BENCHMARK(BM_ElementEditToScreen)
    ->ArgsProduct({{0, 27}, {0, 1}})
    ->ArgNames({"notches", "large_window"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
