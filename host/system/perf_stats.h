#pragma once
// HKEY_DYN_DATA as Windows 9x lays out its performance statistics:
//
//   PerfStats\StartStat   reading a statistic here starts its collection
//   PerfStats\StatData    the current values
//   PerfStats\StopStat    reading a statistic here ends its collection
//
// each holding the REG_BINARY values "KERNEL\CPUUsage", "VMM\cpgDiskcache"
// and "VMM\cpgSwapfile", four bytes little-endian.  The two VMM figures are
// byte counts here.  Every query asks the counters afresh.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/registry/registry.h"
#include "host/system/platform.h"

namespace tw::sys {

class PerfStatsSource : public reg::DynDataSource {
 public:
  explicit PerfStatsSource(std::shared_ptr<PerfCounters> counters = nullptr);

  // Null counters: the statistics are not there at all (no PerfStats key).
  void setCounters(std::shared_ptr<PerfCounters> counters) { counters_ = std::move(counters); }

  bool keyExists(std::string_view path) override;
  std::vector<std::string> subkeys(std::string_view path) override;
  std::vector<reg::DynValue> values(std::string_view path) override;
  std::optional<reg::DynValue> value(std::string_view path, std::string_view name) override;

  // A byte count as the four-byte value carries it.  Readers take the value
  // as a signed 32-bit number, so a count of 2 GB or more is served as the
  // largest such number rather than wrapping to a negative or small figure.
  static std::vector<uint8_t> encode(uint64_t value);

  struct Statistic {
    std::string_view name;
    uint64_t (*take)(PerfCounters&);
  };

 private:
  reg::DynValue read(const Statistic& stat);
  std::shared_ptr<PerfCounters> counters_;
};

}  // namespace tw::sys
