// One refresh of the Status tab's seven gauges (UpdateGauges, with its
// captions and bar records but no toolkit to paint them) against the raw
// cost of reading the kernel's figures once: /proc/stat, /proc/meminfo and
// statvfs of the machine folder.  Target: a refresh costs at most twice the
// raw reads.
//
// The platform's clock moves 250 ms (the shortest refresh interval) before
// every refresh, so each one reads the host afresh as a real tick does.

#include <benchmark/benchmark.h>

#include "app/ui/form1.h"
#include "bench/bench_support.h"
#include "bench/ratio_reporter.h"
#include "host/system/platform.h"

namespace {

struct Bench : tw::bench::LiveMachine {
  tw::forms::ManualEnvironment env;
  std::unique_ptr<tw::app::Form1> form;

  Bench() {
    form = std::make_unique<tw::app::Form1>(tw::app::TunerContext{host, &env, false, nullptr, ""});
    form->load();
    letFoldersSettle();
  }
};

Bench& bench() {
  static Bench b;
  return b;
}

void BM_RawReads(benchmark::State& state) {
  const std::string root = bench().host.machine().root().string();
  for (auto _ : state) benchmark::DoNotOptimize(tw::bench::rawGaugeReads(root));
}
BENCHMARK(BM_RawReads);

void BM_UpdateGauges(benchmark::State& state) {
  Bench& b = bench();
  for (auto _ : state) {
    b.tick();
    b.form->UpdateGauges();
  }
  if (!b.dialogs->shown().empty()) state.SkipWithError("a message box was shown");
}
BENCHMARK(BM_UpdateGauges);

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args = tw::bench::pairedRepetitions(argc, argv);
  argc = static_cast<int>(args.size()) - 1;
  argv = args.data();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tw::bench::RatioReporter reporter({{"BM_UpdateGauges", "BM_RawReads", "target <= 2"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
