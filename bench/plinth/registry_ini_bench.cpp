// The library's registry and INI methods as the tuner calls them:
// GetValue and a durable WriteValue on the template hive (against the bare
// write+fsync under any durable write), the registry search over a
// generated hive of 100 000 keys, and INIRead on a 64 KB INI file.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <fstream>

#include "bench/bench_support.h"
#include "syslib/plinth.h"

namespace {

struct Machine : tw::bench::TemplateMachine {
  tw::Plinth plinth{*host};
};

void BM_GetValue(benchmark::State& state) {
  Machine m;
  for (auto _ : state) {
    auto v = m.plinth.GetValue(tw::HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion", "VersionNumber",
                               tw::Variant(int16_t{0}), false);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(BM_GetValue)->Unit(benchmark::kMicrosecond);

void BM_WriteValueDurable(benchmark::State& state) {
  Machine m;
  int32_t i = 0;
  for (auto _ : state) {
    bool ok = m.plinth.WriteValue(tw::HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem",
                                  "NameCache", tw::Variant(++i), tw::REG_BINARY);
    benchmark::DoNotOptimize(ok);
  }
}
BENCHMARK(BM_WriteValueDurable)->Unit(benchmark::kMicrosecond);

// The floor under any durable write on this disk: one small write and fsync
// of a file.  A durable WriteValue is read against this, since the disk's
// flush time, not the hive, sets how fast a write can be made safe.
void BM_BaselineWriteAndFsync(benchmark::State& state) {
  tw::bench::Scratch s;
  const int fd = ::open((s / "f").c_str(), O_WRONLY | O_CREAT, 0644);
  char block[4096] = {};
  for (auto _ : state) {
    if (::pwrite(fd, block, sizeof block, 0) != static_cast<ssize_t>(sizeof block)) state.SkipWithError("write");
    ::fsync(fd);
  }
  ::close(fd);
}
BENCHMARK(BM_BaselineWriteAndFsync)->Unit(benchmark::kMicrosecond);

// 100 000 keys: 100 branches of 1 000 keys, one value each; the sought value
// sits in the last key of the walk.
void BM_FindRegKeyString100k(benchmark::State& state) {
  Machine m;
  auto& r = m.host->registry();
  r.transaction([&] {
    for (int a = 0; a < 100; ++a) {
      for (int b = 0; b < 999; ++b) {
        tw::reg::HKEY h = 0;
        const std::string path = "Enum\\Gen\\B" + std::to_string(a) + "\\K" + std::to_string(b);
        r.RegCreateKeyEx(tw::reg::HKEY_LOCAL_MACHINE, path, 0, "", 0, tw::reg::KEY_ALL_ACCESS, &h, nullptr);
        const char data[] = "PCI\\VEN_8086";
        r.RegSetValueEx(h, "HardwareID", 0, tw::reg::REG_SZ, reinterpret_cast<const uint8_t*>(data), sizeof data);
        r.RegCloseKey(h);
      }
    }
    return true;
  });
  m.plinth.WriteValue(tw::HKEY_LOCAL_MACHINE, "Enum\\Gen\\B99\\K998", "Target", tw::Variant("found"), tw::reg_sz);
  for (auto _ : state) {
    auto s = m.plinth.FindRegKeyString(tw::HKEY_LOCAL_MACHINE, "Enum\\Gen", "Target");
    if (s != "found") state.SkipWithError("search did not find the value");
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_FindRegKeyString100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// A 64 KB System.ini: the usual sections, padded with a large [386Enh]; the
// key read is in the last section.
void BM_INIRead64k(benchmark::State& state) {
  Machine m;
  std::string text = "[boot]\r\nshell=Explorer.exe\r\n\r\n[386Enh]\r\n";
  for (int i = 0; text.size() < 60000; ++i) text += "device" + std::to_string(i) + "=*vxd" + std::to_string(i) + "\r\n";
  text += "\r\n[vcache]\r\nMinFileCache=1024\r\nMaxFileCache=8192\r\n";
  while (text.size() < 65536) text += "; padding comment line\r\n";
  std::ofstream(m.host->machine().toHost("C:\\WINDOWS") / "BENCH.INI", std::ios::binary) << text;
  for (auto _ : state) {
    auto s = m.plinth.INIRead("vcache", "MaxFileCache", "0", "BENCH.INI");
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_INIRead64k)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
