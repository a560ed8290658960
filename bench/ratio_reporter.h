#pragma once
// A console reporter that also prints how a benchmark compares with its
// baseline from the same run: "<name> / <baseline> = <ratio> (target ...)".

#include <benchmark/benchmark.h>

#include <cstdio>
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
        seconds_[r.benchmark_name()] =
            (cpuTime_ ? r.cpu_accumulated_time : r.real_accumulated_time) / static_cast<double>(r.iterations);
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const Ratio& r : ratios_) {
      const auto measured = seconds_.find(r.measured);
      const auto baseline = seconds_.find(r.baseline);
      if (measured == seconds_.end() || baseline == seconds_.end() || baseline->second <= 0) continue;
      std::printf("\n%s %.1f us, %s %.1f us (%s time): %s / %s = %.2f (%s)\n", r.measured.c_str(),
                  measured->second * 1e6, r.baseline.c_str(), baseline->second * 1e6, cpuTime_ ? "CPU" : "real",
                  r.measured.c_str(), r.baseline.c_str(), measured->second / baseline->second, r.target.c_str());
    }
  }

 private:
  std::vector<Ratio> ratios_;
  bool cpuTime_;
  std::map<std::string, double> seconds_;
};

}  // namespace tw::bench
