// A whole ApplySets on the template machine: every INI write replacing its
// file durably, every hive write committed, the preference and the restart
// prompt (answered at once).  The target is under 50 ms.

#include <benchmark/benchmark.h>

#include "app/ui/form1.h"
#include "bench/app/fixed_memory.h"

namespace {

void BM_ApplySets(benchmark::State& state) {
  tw::bench::TemplateMachine m(tw::bench::fixedMemoryPlatform());
  tw::forms::ManualEnvironment env;
  tw::app::Form1 form(tw::app::TunerContext{*m.host, &env, false, nullptr, ""});
  form.load();
  // Settings switched on, so the apply writes rather than removes.
  form.Check1->setValue(1);
  form.Check12->setValue(1);
  form.Slider1->setValue(8192);
  form.Slider4->setValue(2048);
  int32_t round = 0;
  for (auto _ : state) {
    form.PendingSettings.MinFileCache = (++round % 2) ? 8192 : 4096;
    form.ApplySets();
  }
}

}  // namespace

BENCHMARK(BM_ApplySets)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
