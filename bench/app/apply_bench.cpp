// A whole ApplySets on the template machine: every INI write replacing its
// file durably, every hive write committed, the preference and the restart
// prompt (answered at once).  The target is under 50 ms.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>

#include "app/ui/form1.h"
#include "host/host.h"
#include "host/system/platform.h"

namespace fs = std::filesystem;

namespace {

struct FixedMemory : tw::sys::MemoryMeter {
  tw::sys::MemoryStatus status() override {
    return {40, 128ull << 20, 64ull << 20, 256ull << 20, 128ull << 20, 2ull << 30, 1ull << 30};
  }
};

void BM_ApplySets(benchmark::State& state) {
  std::string pattern = (fs::temp_directory_path() / "tunewell-bench-XXXXXX").string();
  const fs::path dir = mkdtemp(pattern.data());
  if (!getenv("TUNEWELL_TEMPLATE")) setenv("TUNEWELL_TEMPLATE", TW_TEMPLATE_DIR, 1);
  {
    tw::Host host(dir / "machine", std::make_shared<tw::ScriptedDialogs>());
    auto platform = std::make_shared<tw::sys::Platform>();
    platform->setMemory(std::make_shared<FixedMemory>());
    host.setPlatform(platform);
    tw::forms::ManualEnvironment env;
    tw::app::Form1 form(tw::app::TunerContext{host, &env, false, nullptr, ""});
    form.load();
    // Settings switched on, so the apply writes rather than removes.
    form.Check1->setValue(1);
    form.Check12->setValue(1);
    form.Slider1->setValue(8192);
    form.Slider4->setValue(2048);
    int32_t round = 0;
    for (auto _ : state) {
      form.PendingSettings.MinFileCache = (++round % 2) ? 8192 : 4096;
      form.ApplySets();
    }
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace

BENCHMARK(BM_ApplySets)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
