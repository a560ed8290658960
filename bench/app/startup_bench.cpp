// The main window's start-up (Form_Load) on the template machine, as a first
// run (no snapshot yet: the preferences are wiped and both cache sections are
// written) and as an ordinary start.  The target is under 20 ms.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "app/ui/form1.h"
#include "host/host.h"
#include "host/settings/settings.h"
#include "host/system/platform.h"

namespace fs = std::filesystem;

namespace {

struct FixedMemory : tw::sys::MemoryMeter {
  tw::sys::MemoryStatus status() override { return {40, 128ull << 20, 64ull << 20, 256ull << 20, 128ull << 20, 2ull << 30, 1ull << 30}; }
};

struct TemplateMachine {
  fs::path dir;
  std::unique_ptr<tw::Host> host;
  tw::forms::ManualEnvironment env;

  TemplateMachine() {
    std::string pattern = (fs::temp_directory_path() / "tunewell-bench-XXXXXX").string();
    dir = mkdtemp(pattern.data());
    if (!getenv("TUNEWELL_TEMPLATE")) setenv("TUNEWELL_TEMPLATE", TW_TEMPLATE_DIR, 1);
    host = std::make_unique<tw::Host>(dir / "machine", std::make_shared<tw::ScriptedDialogs>());
    auto platform = std::make_shared<tw::sys::Platform>();
    platform->setMemory(std::make_shared<FixedMemory>());
    host->setPlatform(platform);
  }
  ~TemplateMachine() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
  fs::path programFolder() const { return dir / "machine" / "Program Files" / "Tunewell"; }
};

void run(benchmark::State& state, bool firstRun) {
  TemplateMachine m;
  for (auto _ : state) {
    state.PauseTiming();
    if (!firstRun) {
      // What the exit leaves for the next start: the snapshot and "Run" = False.
      std::ofstream(m.programFolder() / "Settings.1st") << "\r\n";
      tw::SettingsStore(m.host->registry(), m.host->machine().codePage())
          .saveSetting(tw::app::kAppName, tw::app::kPrefsSection, "Run", "False");
    }
    auto form = std::make_unique<tw::app::Form1>(tw::app::TunerContext{*m.host, &m.env, false, nullptr, ""});
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

// Building the window (every control of every tab) before it loads.
void BM_Form1_Construct(benchmark::State& state) {
  TemplateMachine m;
  for (auto _ : state) {
    tw::app::Form1 form(tw::app::TunerContext{*m.host, &m.env, false, nullptr, ""});
    benchmark::DoNotOptimize(form.Timer1);
  }
}

}  // namespace

BENCHMARK(BM_FormLoad_FirstRun)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FormLoad_OrdinaryStart)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Form1_Construct)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
