// The profile functions on a 64 KB file shaped like a real System.ini: many
// sections of short key lines.  Each call reads (and a write replaces) the
// whole file, as the functions do for every caller.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <string>

#include "bench/bench_support.h"
#include "host/files/read_file.h"
#include "host/machine/machine.h"
#include "host/profile/profile.h"

namespace {

struct BenchMachine {
  tw::bench::Scratch root;
  tw::Machine machine{(makeFiles(root.dir), tw::Machine::open(root.dir))};
  tw::Profile profile{machine};

  static void makeFiles(const std::filesystem::path& root) {
    std::filesystem::create_directories(root / ".tunewell");
    std::filesystem::create_directories(root / "WINDOWS");
    std::ofstream(root / ".tunewell" / "machine.ini") << "[Machine]\r\n";
    std::string text;
    for (int s = 0; text.size() < 64 * 1024; ++s) {
      text += "[Section" + std::to_string(s) + "]\r\n";
      for (int k = 0; k < 20; ++k) text += "Key" + std::to_string(k) + "=Value number " + std::to_string(s * k) + "\r\n";
      text += "\r\n";
    }
    text += "[vcache]\r\nMinFileCache=1024\r\nMaxFileCache=8192\r\n";
    std::ofstream(root / "WINDOWS" / "SYSTEM.INI", std::ios::binary) << text;
  }
};

// The key read is in the last section, so each call scans the whole file.
void BM_GetPrivateProfileString(benchmark::State& state) {
  BenchMachine m;
  char buffer[260];
  for (auto _ : state) {
    const uint32_t n = m.profile.GetPrivateProfileString("vcache", "MaxFileCache", "0", buffer, 260, "SYSTEM.INI");
    benchmark::DoNotOptimize(n);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 64 * 1024);
}
BENCHMARK(BM_GetPrivateProfileString);

// Alternating values so that every call really replaces the file (with its
// flush to disk).
void BM_WritePrivateProfileString(benchmark::State& state) {
  BenchMachine m;
  int i = 0;
  const double userBefore = tw::bench::userCpuMicroseconds();
  for (auto _ : state) {
    const bool ok =
        m.profile.WritePrivateProfileString("vcache", "MinFileCache", (i++ & 1) ? "2048" : "1024", "System.ini");
    benchmark::DoNotOptimize(ok);
  }
  state.counters["user_us"] = (tw::bench::userCpuMicroseconds() - userBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_WritePrivateProfileString)->Unit(benchmark::kMicrosecond);

// The floor under any durable replacement of the same file: its bytes
// written to a new file, flushed, renamed over the old one; with the
// folder's flush too, which makes the rename itself durable (the profile
// write does both).
void replaceBare(const std::filesystem::path& file, const std::string& bytes, bool syncFolder) {
  const std::string temp = file.string() + ".bare";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) || ::fsync(fd) != 0)
    throw std::runtime_error("bare write failed");
  ::close(fd);
  if (::rename(temp.c_str(), file.c_str()) != 0) throw std::runtime_error("bare rename failed");
  if (syncFolder) {
    const int dir = ::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::fsync(dir);
    ::close(dir);
  }
}

void BM_BareWriteFsyncRename(benchmark::State& state) {
  BenchMachine m;
  const auto file = m.root.dir / "WINDOWS" / "SYSTEM.INI";
  std::string bytes = tw::readFileBytes(file).value();
  int i = 0;
  const double userBefore = tw::bench::userCpuMicroseconds();
  for (auto _ : state) {
    bytes[bytes.size() - 3] = (i++ & 1) ? '1' : '2';
    replaceBare(file, bytes, state.range(0) != 0);
  }
  state.counters["user_us"] = (tw::bench::userCpuMicroseconds() - userBefore) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_BareWriteFsyncRename)->Arg(0)->Arg(1)->ArgName("folder_fsync")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
