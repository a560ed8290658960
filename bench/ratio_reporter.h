#pragma once
// A console reporter that also prints how a benchmark compares with its
// baseline from the same run: "<name> / <baseline> = <ratio> (target ...)".
// With repetitions, each side is the median of its repetitions: on a shared
// machine one slow stretch then moves one repetition, not the ratio.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tw::bench {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  struct Ratio {
    std::string measured;
    std::string baseline;
    std::string target;  // printed as it is
  };
  explicit RatioReporter(std::vector<Ratio> ratios, bool cpuTime = false)
      : ratios_(std::move(ratios)), cpuTime_(cpuTime) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration && r.iterations > 0)
        seconds_[r.run_name.str()].push_back((cpuTime_ ? r.cpu_accumulated_time : r.real_accumulated_time) /
                                             static_cast<double>(r.iterations));
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const Ratio& r : ratios_) {
      const auto measured = seconds_.find(r.measured);
      const auto baseline = seconds_.find(r.baseline);
      if (measured == seconds_.end() || baseline == seconds_.end()) continue;
      const double m = median(measured->second), b = median(baseline->second);
      if (b <= 0) continue;
      std::printf("\n%s %.1f us, %s %.1f us (%s time, median of %zu and %zu runs): %s / %s = %.2f (%s)\n",
                  r.measured.c_str(), m * 1e6, r.baseline.c_str(), b * 1e6, cpuTime_ ? "CPU" : "real",
                  measured->second.size(), baseline->second.size(), r.measured.c_str(), r.baseline.c_str(), m / b,
                  r.target.c_str());
    }
  }

 private:
  static double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
  }

  std::vector<Ratio> ratios_;
  bool cpuTime_;
  std::map<std::string, std::vector<double>> seconds_;  // seconds an iteration, one per repetition
};

// The arguments with, unless the caller chose a number of repetitions,
// seven repetitions of each benchmark in random interleaving, so that a
// benchmark and its baseline take turns through the same minute.
inline std::vector<char*> pairedRepetitions(int argc, char** argv) {
  static char repetitions[] = "--benchmark_repetitions=7";
  static char interleaving[] = "--benchmark_enable_random_interleaving=true";
  std::vector<char*> args(argv, argv + argc);
  const bool chosen = std::any_of(args.begin(), args.end(),
                                  [](const char* a) { return std::strncmp(a, "--benchmark_repetitions", 23) == 0; });
  if (!chosen) {
    args.push_back(repetitions);
    args.push_back(interleaving);
  }
  args.push_back(nullptr);
  return args;
}

}  // namespace tw::bench
