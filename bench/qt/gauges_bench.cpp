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

#include <chrono>
#include <initializer_list>
#include <vector>
#include <memory>
#include <thread>

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

using namespace std::chrono_literals;

// Counts the paints of the widgets it watches.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
};

struct Bench {
  tw::bench::Scratch scratch;
  std::shared_ptr<tw::ScriptedDialogs> dialogs = std::make_shared<tw::ScriptedDialogs>();
  tw::Host host{scratch / "machine", dialogs};
  std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now();
  tw::qt::PictureStore pictures;
  tw::qt::QtEnvironment qtEnvironment{&pictures};
  tw::forms::ManualEnvironment manual;
  std::unique_ptr<tw::app::Form1> shown;    // drawn by the window
  std::unique_ptr<tw::app::Form1> unshown;  // the baseline
  std::unique_ptr<tw::qt::FormWindow> window;
  PaintCounter counter;

  Bench() {
    tw::sys::LiveOptions options;
    options.clock = [this] { return now; };
    host.setPlatform(tw::sys::makeLivePlatform(host.machine(), options));
    shown = start(qtEnvironment);
    unshown = start(manual);
    window = std::make_unique<tw::qt::FormWindow>(*shown, &pictures);
    shown->show();
    for (tw::forms::PictureBox* bar : {shown->Picture5, shown->Picture6, &shown->Picture1(0), &shown->Picture1(1),
                                       &shown->Picture1(2), &shown->Picture1(3), shown->Picture2})
      window->widgetFor(*bar)->installEventFilter(&counter);
    // A machine's folders have not just been made; folders changed within
    // the last two seconds are listed afresh on every look-up.
    std::this_thread::sleep_for(2100ms);
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
  std::vector<QWidget*> gauges;
  if (everything) {
    for (tw::forms::Control* c :
         std::initializer_list<tw::forms::Control*>{form.Picture5, form.Picture6, &form.Picture1(0), &form.Picture1(1),
                                                    &form.Picture1(2), &form.Picture1(3), form.Picture2, form.Label3,
                                                    form.Label2, form.Label7, &form.LRe(2), form.Label11, form.Label14,
                                                    &form.Label4(0)})
      gauges.push_back(b.window->widgetFor(*c));
  }
  const int paintsBefore = b.counter.paints;
  for (auto _ : state) {
    for (QWidget* w : gauges) w->update();
    b.now += 250ms;
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
