// The hive's own costs beyond the library's calls: opening a 100 000-key
// hive (the file check and the load of the mirror), and the re-read of the
// template hive that a write from another process forces on the next call.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "host/registry/registry.h"

namespace {

using namespace tw::reg;
namespace fs = std::filesystem;

tw::bench::Scratch& scratch() {
  static tw::bench::Scratch s;
  return s;
}

// 100 000 keys below HKLM\Walk, ten children a key, two values each.
const fs::path& hive100k() {
  static const fs::path file = [] {
    const fs::path f = scratch() / "walk.db";
    Registry reg(f);
    reg.transaction([&] {
      std::vector<HKEY> level(1);
      reg.RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Walk", 0, "", 0, KEY_ALL_ACCESS, &level[0], nullptr);
      for (int made = 1; made < 100000;) {
        std::vector<HKEY> next;
        for (HKEY parent : level) {
          for (int c = 0; c < 10 && made < 100000; ++c, ++made) {
            HKEY k = 0;
            reg.RegCreateKeyEx(parent, "Key" + std::to_string(c), 0, "", 0, KEY_ALL_ACCESS, &k, nullptr);
            const std::string name = "key number " + std::to_string(made);
            const DWORD index = static_cast<DWORD>(made);
            reg.RegSetValueEx(k, "Name", 0, REG_SZ, reinterpret_cast<const uint8_t*>(name.c_str()),
                              static_cast<DWORD>(name.size() + 1));
            reg.RegSetValueEx(k, "Index", 0, REG_DWORD, reinterpret_cast<const uint8_t*>(&index), 4);
            next.push_back(k);
          }
          reg.RegCloseKey(parent);
        }
        level.swap(next);
      }
      for (HKEY k : level) reg.RegCloseKey(k);
      return true;
    });
    return f;
  }();
  return file;
}

void BM_OpenHive100k(benchmark::State& state) {
  const fs::path& f = hive100k();
  for (auto _ : state) {
    Registry r(f);
    benchmark::DoNotOptimize(r.openHandleCount());
  }
}
BENCHMARK(BM_OpenHive100k)->Unit(benchmark::kMillisecond);

void BM_QueryAfterForeignWrite(benchmark::State& state) {
  tw::bench::TemplateMachine m;
  Registry& r = m.host->registry();
  Registry other(r.file());
  DWORD v = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ++v;
    other.RegSetValueEx(HKEY_LOCAL_MACHINE, "Counter", 0, REG_DWORD, reinterpret_cast<const uint8_t*>(&v), 4);
    state.ResumeTiming();
    DWORD type = 0, size = 4, got = 0;
    r.RegQueryValueEx(HKEY_LOCAL_MACHINE, "Counter", &type, reinterpret_cast<uint8_t*>(&got), &size);
    if (got != v) state.SkipWithError("stale read");
  }
}
BENCHMARK(BM_QueryAfterForeignWrite)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
