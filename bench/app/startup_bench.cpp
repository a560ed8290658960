// The main window's start-up (Form_Load) on the template machine, as a first
// run (no snapshot yet: the preferences are wiped and both cache sections are
// written) and as an ordinary start.  The target is under 20 ms.

#include <benchmark/benchmark.h>

#include <fstream>

#include "app/ui/form1.h"
#include "bench/app/fixed_memory.h"
#include "host/settings/settings.h"

namespace {

void run(benchmark::State& state, bool firstRun) {
  tw::bench::TemplateMachine m(tw::bench::fixedMemoryPlatform());
  tw::forms::ManualEnvironment env;
  for (auto _ : state) {
    state.PauseTiming();
    if (!firstRun) {
      // What the exit leaves for the next start: the snapshot and "Run" = False.
      std::ofstream(m.programFolder() / "Settings.1st") << "\r\n";
      tw::SettingsStore(m.host->registry(), m.host->machine().codePage())
          .saveSetting(tw::app::kAppName, tw::app::kPrefsSection, "Run", "False");
    }
    auto form = std::make_unique<tw::app::Form1>(tw::app::TunerContext{*m.host, &env, false, nullptr, ""});
    state.ResumeTiming();
    form->load();
    benchmark::DoNotOptimize(form->PendingSettings);
    state.PauseTiming();
    form.reset();
    state.ResumeTiming();
  }
}

void BM_FormLoad_FirstRun(benchmark::State& state) { run(state, true); }
void BM_FormLoad_OrdinaryStart(benchmark::State& state) { run(state, false); }

}  // namespace

BENCHMARK(BM_FormLoad_FirstRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormLoad_OrdinaryStart)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
