#include "host/system/perf_stats.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "host/runtime/codepage.h"

namespace tw::sys {

namespace {

constexpr std::string_view kRoot = "PerfStats";
constexpr std::array<std::string_view, 3> kStatKeys = {"StartStat", "StatData", "StopStat"};

// The statistic key `path` names ("PerfStats\StatData"), or empty when it
// names none.  Registry paths compare without regard to case.
std::string_view statKey(std::string_view path) {
  if (path.size() <= kRoot.size() + 1 || path[kRoot.size()] != '\\') return {};
  if (!ansiEqualNoCase(path.substr(0, kRoot.size()), kRoot)) return {};
  const std::string_view rest = path.substr(kRoot.size() + 1);
  for (std::string_view k : kStatKeys)
    if (ansiEqualNoCase(rest, k)) return k;
  return {};
}

// The statistics of each key, each asked of the counters only when read.
constexpr std::array<PerfStatsSource::Statistic, 3> kStatistics = {{
    {"KERNEL\\CPUUsage", [](PerfCounters& c) -> uint64_t { return std::min<uint32_t>(c.cpuUsage(), 100); }},
    {"VMM\\cpgDiskcache", [](PerfCounters& c) -> uint64_t { return c.diskCacheBytes(); }},
    {"VMM\\cpgSwapfile", [](PerfCounters& c) -> uint64_t { return c.swapInUseBytes(); }},
}};

}  // namespace

PerfStatsSource::PerfStatsSource(std::shared_ptr<PerfCounters> counters) : counters_(std::move(counters)) {}

std::vector<uint8_t> PerfStatsSource::encode(uint64_t value) {
  const auto v = static_cast<uint32_t>(std::min<uint64_t>(value, INT32_MAX));
  return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)};
}

bool PerfStatsSource::keyExists(std::string_view path) {
  if (path.empty()) return true;
  if (!counters_) return false;
  return ansiEqualNoCase(path, kRoot) || !statKey(path).empty();
}

std::vector<std::string> PerfStatsSource::subkeys(std::string_view path) {
  if (!counters_) return {};
  if (path.empty()) return {std::string(kRoot)};
  if (ansiEqualNoCase(path, kRoot)) return {kStatKeys.begin(), kStatKeys.end()};
  return {};
}

reg::DynValue PerfStatsSource::read(const Statistic& stat) {
  return {std::string(stat.name), reg::REG_BINARY, encode(stat.take(*counters_))};
}

std::vector<reg::DynValue> PerfStatsSource::values(std::string_view path) {
  if (!counters_ || statKey(path).empty()) return {};
  std::vector<reg::DynValue> out;
  for (const Statistic& stat : kStatistics) out.push_back(read(stat));
  return out;
}

std::optional<reg::DynValue> PerfStatsSource::value(std::string_view path, std::string_view name) {
  if (!counters_ || statKey(path).empty()) return std::nullopt;
  for (const Statistic& stat : kStatistics)
    if (ansiEqualNoCase(stat.name, name)) return read(stat);
  return std::nullopt;
}

}  // namespace tw::sys
