// One tick of the Status tab with the Qt window painting it: UpdateGauges,
// whose message pump paints the bars and captions whose figures changed, on
// the offscreen platform; and a tick that paints all seven bars and their
// captions, the most a tick can cost.  Target: under 1 ms of CPU time a
// tick.  The baseline, in the same run, is the same refresh with no window
// to paint.
//
// The platform's clock moves 250 ms (the shortest refresh interval) before
// every tick, so each one reads the host afresh as a real tick does.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <memory>
#include <vector>

#include <QApplication>
#include <QEvent>

#include "app/ui/form1.h"
#include "bench/bench_support.h"
#include "bench/ratio_reporter.h"
#include "host/system/platform.h"
#include "ui/qt/form_window.h"
#include "ui/qt/look.h"
#include "ui/qt/pictures.h"
#include "ui/qt/qt_environment.h"

namespace {

// Counts the paints of the widgets it watches.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

// The seven bars, then their captions.
std::vector<tw::forms::Control*> gauges(tw::app::Form1& f) {
  return {f.Picture5, f.Picture6, &f.Picture1(0), &f.Picture1(1), &f.Picture1(2), &f.Picture1(3), f.Picture2,
          f.Label3,   f.Label2,   f.Label7,       &f.LRe(2),      f.Label11,      f.Label14,      &f.Label4(0)};
}
constexpr size_t kBars = 7;

struct Bench : tw::bench::LiveMachine {
  tw::qt::PictureStore pictures;
  tw::qt::QtEnvironment qtEnvironment{&pictures};
  tw::forms::ManualEnvironment manual;
  std::unique_ptr<tw::app::Form1> shown;    // drawn by the window
  std::unique_ptr<tw::app::Form1> unshown;  // the baseline
  std::unique_ptr<tw::qt::FormWindow> window;
  PaintCounter counter;

  Bench() {
    shown = start(qtEnvironment);
    unshown = start(manual);
    window = std::make_unique<tw::qt::FormWindow>(*shown, &pictures);
    shown->show();
    const std::vector<tw::forms::Control*> all = gauges(*shown);
    for (size_t i = 0; i < kBars; ++i) window->widgetFor(*all[i])->installEventFilter(&counter);
    letFoldersSettle();
    QApplication::processEvents();
  }

  std::unique_ptr<tw::app::Form1> start(tw::forms::Environment& environment) {
    auto form = std::make_unique<tw::app::Form1>(tw::app::TunerContext{host, &environment, false, nullptr, ""});
    form->load();
    // The benchmark ticks the gauges itself.
    form->Timer1->setEnabled(false);
    return form;
  }
};

// Made on first use, and gone before the application is.
std::unique_ptr<Bench>& benchSlot() {
  static std::unique_ptr<Bench> b;
  return b;
}

Bench& bench() {
  if (!benchSlot()) benchSlot() = std::make_unique<Bench>();
  return *benchSlot();
}

// `everything` marks the seven bars and their captions for painting before
// each tick, as a tick whose every figure has changed would: the most a
// tick can cost.  Otherwise only what the live figures changed is painted.
void tick(benchmark::State& state, tw::app::Form1& form, bool everything = false) {
  Bench& b = bench();
  std::vector<QWidget*> marked;
  if (everything)
    for (tw::forms::Control* c : gauges(form)) marked.push_back(b.window->widgetFor(*c));
  const int paintsBefore = b.counter.paints;
  for (auto _ : state) {
    for (QWidget* w : marked) w->update();
    b.tick();
    form.UpdateGauges();
  }
  state.counters["bar paints/tick"] =
      static_cast<double>(b.counter.paints - paintsBefore) / static_cast<double>(state.iterations());
  if (!b.dialogs->shown().empty()) state.SkipWithError("a message box was shown");
}

void BM_TickWithoutWindow(benchmark::State& state) { tick(state, *bench().unshown); }
BENCHMARK(BM_TickWithoutWindow)->MeasureProcessCPUTime();

void BM_TickWithQtRepaint(benchmark::State& state) { tick(state, *bench().shown); }
BENCHMARK(BM_TickWithQtRepaint)->MeasureProcessCPUTime();

void BM_TickRepaintingEveryGauge(benchmark::State& state) { tick(state, *bench().shown, true); }
BENCHMARK(BM_TickRepaintingEveryGauge)->MeasureProcessCPUTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  tw::qt::applyClassicLook(app, false);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tw::bench::RatioReporter reporter(
      {{"BM_TickWithQtRepaint/process_time", "BM_TickWithoutWindow/process_time", "target: under 1000 us a tick"},
       {"BM_TickRepaintingEveryGauge/process_time", "BM_TickWithoutWindow/process_time",
        "target: under 1000 us a tick"}},
      true);
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  benchSlot().reset();
  return 0;
}
