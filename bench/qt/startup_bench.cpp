// Time from process start to the first window shown and painted, and the
// process's peak memory, for tunewell (offscreen, on a fresh machine, "/Ns"
// so that the main window is the first one) next to a plain Qt Widgets
// program that builds the same window directly (plain_window.cpp).  The
// targets: tunewell's window shown in under 60 ms, within 1.25 times the
// plain window's time and 1.2 times its peak memory.  BM_Ratio runs the
// two in turn (15 rounds), reports their medians and the ratios, and
// prints whether each target is met.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"

namespace {

namespace fs = std::filesystem;

struct Run {
  double seconds = 0;  // from fork to the window painted
  double peakMB = 0;   // the child's peak resident set
};

// The probe's clock.
int64_t monotonicNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

// The scratch folder, with a runtime folder of the programs' own.
const tw::bench::Scratch& scratch() {
  static const struct Folder {
    tw::bench::Scratch scratch;
    Folder() {
      fs::create_directory(scratch / "runtime");
      fs::permissions(scratch / "runtime", fs::perms::owner_all);
    }
  } folder;
  return folder.scratch;
}

// Starts the program, waits for its "shown <ns>" line and its exit.
Run runOnce(const std::vector<std::string>& command) {
  int out[2];
  if (pipe(out) != 0) std::abort();
  const int64_t start = monotonicNs();
  const pid_t child = fork();
  if (child == 0) {
    dup2(out[1], STDOUT_FILENO);
    close(out[0]);
    close(out[1]);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_RUNTIME_DIR", (scratch() / "runtime").c_str(), 1);
    setenv("TUNEWELL_TEMPLATE", TW_TEMPLATE, 1);
    std::vector<char*> argv;
    for (const std::string& a : command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(out[1]);
  std::string text;
  char buffer[256];
  ssize_t n;
  while ((n = read(out[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  close(out[0]);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);

  Run run;
  const size_t at = text.find("shown ");
  if (at == std::string::npos || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    std::fprintf(stderr, "%s did not report a shown window (status %d)\n", command[0].c_str(), status);
    std::abort();
  }
  run.seconds = static_cast<double>(std::stoll(text.substr(at + 6)) - start) / 1e9;
  run.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  return run;
}

std::vector<std::string> tunewell() {
  return {TW_TUNEWELL_PROGRAM, "--report-shown", "--machine", (scratch() / "machine").string(), "/Ns"};
}
std::vector<std::string> plainWindow() { return {TW_PLAIN_WINDOW_PROGRAM, "--report-shown"}; }

// The first run makes the machine from the template and warms the caches.
void warmUp() {
  static bool done = [] {
    runOnce(tunewell());
    runOnce(plainWindow());
    return true;
  }();
  (void)done;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The programs in turn, so that all see the same machine load, each round
// in an order of its own (drawn from a fixed seed): a program that always
// ran right after another would inherit what that one left in the caches.
void BM_Ratio(benchmark::State& state) {
  warmUp();
  struct Series {
    std::vector<std::string> command;
    std::vector<double> time, peak;
    double medianMs() const { return median(time) * 1000; }
    double medianMB() const { return median(peak); }
  };
  std::array<Series, 2> series{{{plainWindow(), {}, {}}, {tunewell(), {}, {}}}};
  Series &plain = series[0], &tuner = series[1];
  std::mt19937 random(20261207);
  for (auto _ : state) {
    for (int64_t i = 0; i < state.range(0); ++i) {
      std::array<Series*, 2> order{&plain, &tuner};
      std::shuffle(order.begin(), order.end(), random);
      for (Series* program : order) {
        const Run run = runOnce(program->command);
        program->time.push_back(run.seconds);
        program->peak.push_back(run.peakMB);
      }
    }
  }
  const double timeRatio = tuner.medianMs() / plain.medianMs();
  const double memoryRatio = tuner.medianMB() / plain.medianMB();
  state.counters["tunewell_ms"] = tuner.medianMs();
  state.counters["plain_ms"] = plain.medianMs();
  state.counters["time_ratio"] = timeRatio;
  state.counters["tunewell_MB"] = tuner.medianMB();
  state.counters["plain_MB"] = plain.medianMB();
  state.counters["memory_ratio"] = memoryRatio;
  std::printf("tunewell %.1f ms (target under 60: %s), %.2fx the plain window's %.1f ms (target 1.25: %s)\n",
              tuner.medianMs(), tuner.medianMs() < 60 ? "met" : "missed", timeRatio, plain.medianMs(),
              timeRatio <= 1.25 ? "met" : "missed");
  std::printf("peak memory %.1f MB, %.2fx the plain window's %.1f MB (target 1.2: %s)\n", tuner.medianMB(),
              memoryRatio, plain.medianMB(), memoryRatio <= 1.2 ? "met" : "missed");
}

BENCHMARK(BM_Ratio)->Arg(15)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
