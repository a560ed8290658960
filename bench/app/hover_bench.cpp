// The pointer moving over the main window: each move runs one hover handler,
// which looks its text up in the string table and sets the status line.
// The baseline sets the same two captions without the lookup, so the ratio
// is what the handler adds to the assignment it cannot avoid.

#include <benchmark/benchmark.h>

#include "app/ui/form1.h"
#include "app/ui/strings.h"
#include "bench/app/fixed_memory.h"

namespace {

struct Window {
  tw::bench::TemplateMachine m{tw::bench::fixedMemoryPlatform()};
  tw::forms::ManualEnvironment env;
  tw::app::Form1 form{tw::app::TunerContext{*m.host, &env, false, nullptr, ""}};
  Window() {
    form.load();
    form.show();
    form.TabStrip1->userSelect(3);
  }
};

// Back and forth between two check boxes, so that every move changes the line.
void BM_HoverMove(benchmark::State& state) {
  Window w;
  tw::forms::Control* controls[2] = {w.form.Check1, w.form.Check2};
  int i = 0;
  for (auto _ : state) {
    controls[i ^= 1]->userMouseMove(0, 0, 10, 10);
    benchmark::DoNotOptimize(w.form.Label20->caption().data());
  }
}

void BM_Baseline_CaptionOnly(benchmark::State& state) {
  Window w;
  const std::string texts[2] = {tw::app::LoadResString(136), tw::app::LoadResString(141)};
  int i = 0;
  for (auto _ : state) {
    w.form.Label20->setCaption(texts[i ^= 1]);
    benchmark::DoNotOptimize(w.form.Label20->caption().data());
  }
}

}  // namespace

BENCHMARK(BM_HoverMove);
BENCHMARK(BM_Baseline_CaptionOnly);
BENCHMARK_MAIN();
