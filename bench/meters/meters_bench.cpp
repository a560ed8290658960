// What the status gauges cost: a whole refresh of all seven, and next to it
// the raw cost of reading the kernel's figures once (/proc/stat,
// /proc/meminfo and statvfs).  The ratio of a refresh to the raw reads is
// printed at the end; the target is at most 2.
//
// The platform's clock moves 250 ms (the shortest refresh interval) before
// every call, so each call reads the host afresh as a real tick does.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_support.h"
#include "bench/ratio_reporter.h"
#include "host/system/platform.h"
#include "syslib/plinth.h"

namespace {

struct Bench : tw::bench::LiveMachine {
  tw::Plinth plinth{host};
  Bench() { letFoldersSettle(); }
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

// The seven reads of one gauge refresh, in the window's order.
void BM_Refresh(benchmark::State& state) {
  tw::Plinth& p = bench().plinth;
  int16_t percent = 0, sys = 0, use = 0, gdi = 0;
  for (auto _ : state) {
    bench().tick();
    benchmark::DoNotOptimize(p.GetCPUUsage());
    benchmark::DoNotOptimize(p.HardDrive(percent));
    benchmark::DoNotOptimize(p.PhysicalMemory(percent));
    benchmark::DoNotOptimize(p.CacheSize(percent));
    benchmark::DoNotOptimize(p.PageSize(percent));
    benchmark::DoNotOptimize(p.SystemMemory(percent));
    p.Resources(sys, use, gdi);
    benchmark::DoNotOptimize(sys);
  }
}
BENCHMARK(BM_Refresh);

// The clock measurement behind GetCPUspeedX (target: under 50 ms).
void BM_GetCPUspeedX(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(bench().plinth.GetCPUspeedX());
}
BENCHMARK(BM_GetCPUspeedX)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
  std::vector<char*> args = tw::bench::pairedRepetitions(argc, argv);
  argc = static_cast<int>(args.size()) - 1;
  argv = args.data();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  tw::bench::RatioReporter reporter({{"BM_Refresh", "BM_RawReads", "target <= 2"}});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
