// The hive's speed: one value read through open/query/close, one durable
// write, and a depth-first walk of a 100 000-key hive the way the library's
// registry search walks it (full path from the root for every key).

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "host/registry/registry.h"

namespace {

using namespace tw::reg;
namespace fs = std::filesystem;

class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "tunewell-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    dir_ = pattern;
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  fs::path operator/(const char* name) const { return dir_ / name; }

 private:
  fs::path dir_;
};

Scratch& scratch() {
  static Scratch s;
  return s;
}

void setSz(Registry& r, HKEY k, const char* name, const std::string& text) {
  r.RegSetValueEx(k, name, 0, REG_SZ, reinterpret_cast<const uint8_t*>(text.c_str()),
                  static_cast<DWORD>(text.size() + 1));
}

void setDword(Registry& r, HKEY k, const char* name, DWORD v) {
  r.RegSetValueEx(k, name, 0, REG_DWORD, reinterpret_cast<const uint8_t*>(&v), 4);
}

// Roughly what a Windows 98 machine holds: an Enum tree of some thousands of
// keys, the keys the tuner reads, and a few hundred classes.
Registry& templateHive() {
  static std::unique_ptr<Registry> r = [] {
    auto reg = std::make_unique<Registry>(scratch() / "template.db");
    reg->transaction([&] {
      for (int bus = 0; bus < 20; ++bus)
        for (int dev = 0; dev < 100; ++dev) {
          HKEY k = 0;
          const std::string path = "Enum\\BUS" + std::to_string(bus) + "\\DEV_" + std::to_string(dev) + "\\0000";
          reg->RegCreateKeyEx(HKEY_LOCAL_MACHINE, path, 0, "", 0, KEY_ALL_ACCESS, &k, nullptr);
          setSz(*reg, k, "DeviceDesc", "Device " + std::to_string(dev));
          setSz(*reg, k, "Class", "System");
          setSz(*reg, k, "HardwareID", "BUS\\DEV_" + std::to_string(dev));
          reg->RegCloseKey(k);
        }
      for (int c = 0; c < 500; ++c) {
        HKEY k = 0;
        reg->RegCreateKeyEx(HKEY_CLASSES_ROOT, ".ext" + std::to_string(c), 0, "", 0, KEY_ALL_ACCESS, &k, nullptr);
        setSz(*reg, k, "", "file" + std::to_string(c));
        reg->RegCloseKey(k);
      }
      HKEY fs = 0;
      reg->RegCreateKeyEx(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem", 0, "", 0,
                          KEY_ALL_ACCESS, &fs, nullptr);
      const uint8_t nameCache[4] = {0x00, 0x08, 0x00, 0x00};
      reg->RegSetValueEx(fs, "NameCache", 0, REG_BINARY, nameCache, 4);
      setDword(*reg, fs, "PathCache", 64);
      setSz(*reg, fs, "Win31FileSystem", "0");
      reg->RegCloseKey(fs);
      return true;
    });
    return reg;
  }();
  return *r;
}

void BM_OpenQueryClose(benchmark::State& state) {
  Registry& r = templateHive();
  uint8_t buf[64];
  for (auto _ : state) {
    HKEY k = 0;
    r.RegOpenKeyEx(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem", 0, 0x2000F, &k);
    DWORD type = 0, size = 0;
    r.RegQueryValueEx(k, "NameCache", &type, nullptr, &size);
    r.RegQueryValueEx(k, "NameCache", &type, buf, &size);
    r.RegCloseKey(k);
    benchmark::DoNotOptimize(buf);
  }
  if (r.openHandleCount() != 0) state.SkipWithError("a handle was left open");
}
BENCHMARK(BM_OpenQueryClose)->Unit(benchmark::kMicrosecond);

// What WriteValue does: create-or-open, set, close; the write is on disk
// when the call returns.
void BM_DurableSet(benchmark::State& state) {
  Registry& r = templateHive();
  DWORD v = 0;
  for (auto _ : state) {
    HKEY k = 0;
    r.RegCreateKeyEx(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\FileSystem", 0, "", 0, KEY_ALL_ACCESS,
                     &k, nullptr);
    ++v;
    if (r.RegSetValueEx(k, "PathCache", 0, REG_DWORD, reinterpret_cast<const uint8_t*>(&v), 4) != 0)
      state.SkipWithError("write failed");
    r.RegCloseKey(k);
  }
}
BENCHMARK(BM_DurableSet)->Unit(benchmark::kMicrosecond);

constexpr int kWalkKeys = 100000;

// 100 000 keys below HKLM\Walk, ten children a key, two values each.
const fs::path& walkHiveFile() {
  static const fs::path file = [] {
    const fs::path f = scratch() / "walk.db";
    Registry reg(f);
    reg.transaction([&] {
      std::vector<HKEY> level;
      HKEY top = 0;
      reg.RegCreateKeyEx(HKEY_LOCAL_MACHINE, "Walk", 0, "", 0, KEY_ALL_ACCESS, &top, nullptr);
      level.push_back(top);
      int made = 1;
      while (made < kWalkKeys) {
        std::vector<HKEY> next;
        for (HKEY parent : level) {
          for (int c = 0; c < 10 && made < kWalkKeys; ++c, ++made) {
            HKEY k = 0;
            reg.RegCreateKeyEx(parent, "Key" + std::to_string(c), 0, "", 0, KEY_ALL_ACCESS, &k, nullptr);
            setSz(reg, k, "Name", "key number " + std::to_string(made));
            setDword(reg, k, "Index", static_cast<DWORD>(made));
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

size_t walk(Registry& r, const std::string& path) {
  HKEY k = 0;
  if (r.RegOpenKeyEx(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &k) != 0) return 0;
  char name[1024];
  uint8_t data[1024];
  for (DWORD i = 0;; ++i) {
    DWORD nameLen = sizeof name, dataLen = sizeof data, type = 0;
    if (r.RegEnumValue(k, i, name, &nameLen, &type, data, &dataLen) != 0) break;
    benchmark::DoNotOptimize(data);
  }
  std::vector<std::string> subkeys;
  for (DWORD i = 0;; ++i) {
    char sub[256];
    DWORD len = sizeof sub;
    if (r.RegEnumKeyEx(k, i, sub, &len, nullptr, nullptr) != 0) break;
    subkeys.emplace_back(sub, len);
  }
  r.RegCloseKey(k);
  size_t count = 1;
  for (const auto& s : subkeys) count += walk(r, path + "\\" + s);
  return count;
}

void BM_Walk100k(benchmark::State& state) {
  Registry r(walkHiveFile());
  size_t keys = 0;
  for (auto _ : state) keys = walk(r, "Walk");
  state.counters["keys"] = static_cast<double>(keys);
}
BENCHMARK(BM_Walk100k)->Unit(benchmark::kMillisecond);

// Opening the 100 000-key hive: the file check and the load of the mirror.
void BM_OpenHive100k(benchmark::State& state) {
  const fs::path& f = walkHiveFile();
  for (auto _ : state) {
    Registry r(f);
    benchmark::DoNotOptimize(r.openHandleCount());
  }
}
BENCHMARK(BM_OpenHive100k)->Unit(benchmark::kMillisecond);

// A write from another process makes the next call read the hive again.
void BM_QueryAfterForeignWrite(benchmark::State& state) {
  Registry& r = templateHive();
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
