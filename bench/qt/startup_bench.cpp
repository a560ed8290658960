// Time from process start to the first window shown and painted, and the
// process's peak memory, for tunewell (offscreen, on a fresh machine, "/Ns"
// so that the main window is the first one) next to an empty Qt Widgets
// window.  The targets are ratios: tunewell within 1.5 times the empty
// window's time and 1.3 times its peak memory.  BM_Ratio runs them in
// turn (25 rounds) and reports the ratios of their medians, with a window
// of one line of text beside them: what drawing any text at all costs on
// this host.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
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

int64_t monotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
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
std::vector<std::string> emptyWindow() { return {TW_EMPTY_WINDOW_PROGRAM, "--report-shown"}; }
std::vector<std::string> textWindow() { return {TW_EMPTY_WINDOW_PROGRAM, "--report-shown", "--text"}; }

// The first run makes the machine from the template and warms the caches.
void warmUp() {
  static bool done = [] {
    runOnce(tunewell());
    runOnce(emptyWindow());
    runOnce(textWindow());
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
  std::array<Series, 3> series{{{emptyWindow(), {}, {}}, {textWindow(), {}, {}}, {tunewell(), {}, {}}}};
  Series &empty = series[0], &text = series[1], &tuner = series[2];
  std::mt19937 random(20261207);
  for (auto _ : state) {
    for (int64_t i = 0; i < state.range(0); ++i) {
      std::array<Series*, 3> order{&empty, &text, &tuner};
      std::shuffle(order.begin(), order.end(), random);
      for (Series* program : order) {
        const Run run = runOnce(program->command);
        program->time.push_back(run.seconds);
        program->peak.push_back(run.peakMB);
      }
    }
  }
  state.counters["tunewell_ms"] = tuner.medianMs();
  state.counters["empty_ms"] = empty.medianMs();
  state.counters["time_ratio"] = tuner.medianMs() / empty.medianMs();
  state.counters["tunewell_MB"] = tuner.medianMB();
  state.counters["empty_MB"] = empty.medianMB();
  state.counters["memory_ratio"] = tuner.medianMB() / empty.medianMB();
  state.counters["text_ms"] = text.medianMs();
  state.counters["text_MB"] = text.medianMB();
}

BENCHMARK(BM_Ratio)->Arg(25)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
