// The disk cache Windows 9x can start with: the presets stop at 524288 KB on
// large machines, and "Ok" asks before it writes a cache beyond that (or
// removes the maximum of a large machine), writing nothing until answered.

#include <gtest/gtest.h>

#include "app/settings/cache_limit.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using app::CacheSizes;
constexpr int32_t kLimit = app::kLargestStartableCacheKB;
constexpr int32_t kMB = 1024;  // in KB

TEST(CacheLimit, OnlyAnApplyThatChangesTheCacheToAnUnstartableOneAsks) {
  struct Case {
    CacheSizes today, pending;
    int32_t memoryKB;
    bool asks;
  };
  const Case cases[] = {
      {{0, 0}, {0, kLimit}, 4096 * kMB, false},            // at the limit
      {{0, 0}, {0, kLimit + 512}, 4096 * kMB, true},       // above it
      {{0, 0}, {kLimit + 512, kLimit}, 4096 * kMB, true},  // the minimum above it
      {{0, 2 * kLimit}, {0, 2 * kLimit}, 4096 * kMB, false},  // left as it was
      {{0, 0}, {1024, 0}, 4096 * kMB, false},              // no maximum before either
      {{0, 8192}, {0, 0}, 512 * kMB, false},               // removed on exactly 512 MB
      {{0, 8192}, {0, 0}, 512 * kMB + 1, true},            // removed on more
  };
  for (const Case& c : cases)
    EXPECT_EQ(app::applyNeedsCacheConfirmation(c.today, c.pending, c.memoryKB), c.asks)
        << c.today.maxKB << " -> " << c.pending.minKB << "/" << c.pending.maxKB << " on " << c.memoryKB;

  EXPECT_EQ(app::cacheLimitNote({0, kLimit}, 24576 * kMB), "") << "a cache at the limit needs no note";

  EXPECT_EQ(app::startableProposal({kLimit + 1, 3 * kLimit}), (CacheSizes{kLimit, kLimit}));
  EXPECT_EQ(app::startableProposal({2048, 0}), (CacheSizes{2048, kLimit}));
  EXPECT_EQ(app::startableProposal({2048, 8192}), (CacheSizes{2048, 8192}));
}

struct LargeMachine : test::RunningTuner {
  static constexpr const char* kSystemIni = "System.ini";
  void startWith(uint64_t mb) {
    t.platform->setMemory(std::make_shared<test::FixedMemory>(mb << 20));
    start(2);
  }
  std::vector<int> preset(const std::string& name) {
    std::vector<int> v;
    for (const char* key : {"MinFileCache", "MaxFileCache"})
      v.push_back(static_cast<int>(
          val(t.plinth.INIRead(name, key, "-1", "C:\\Program Files\\Tunewell\\Cache.ini"))));
    return v;
  }
  size_t cacheQuestions() {
    size_t n = 0;
    for (const auto& box : t.m.dialogs->shown())
      n += box.text.find("Windows 98") != std::string::npos && box.style == 3 + 48;
    return n;
  }
  bool closed() { return !f->loaded(); }
};

TEST_F(LargeMachine, PresetsKeepTheirValuesUpToTheLimitAndStopThere) {
  startWith(64);
  using V = std::vector<int>;
  const std::vector<std::tuple<int, const char*, V>> rows = {
      {512, "File Server", {65536, 131072}},      {1024, "Power User", {32768, 262144}},
      {2048, "File Server", {262144, 524288}},    {2048, "Standard Use", {32768, 262144}},
      {3072, "File Server", {393216, 524288}},    {3072, "Multimedia", {196608, 393216}},
      {3072, "Power User", {98304, 524288}},      {24576, "Standard Use", {393216, 524288}},
      {24576, "File Server", {524288, 524288}},   {24576, "3D Gaming", {524288, 524288}},
  };
  for (const auto& [mb, name, values] : rows) {
    f->WritePresetTable(mb * 1024.0);
    EXPECT_EQ(preset(name), values) << name << " at " << mb << " MB";
  }
}

TEST_F(LargeMachine, OkAsksBeforeWritingACacheWindowsCannotStartWith) {
  for (const int answer : {MsgBoxResult::Cancel, MsgBoxResult::No, MsgBoxResult::Yes}) {
    SCOPED_TRACE(answer);
    t.plinth.INIWrite("vcache", "MaxFileCache", BStr::null(), kSystemIni);
    startWith(2048);
    const std::string before = test::readFile(t.m.root() / "WINDOWS" / "SYSTEM.INI");
    std::string atTheQuestion;
    t.m.dialogs->setObserver([&](const ShownBox& box) {
      if (box.style == 3 + 48) atTheQuestion = test::readFile(t.m.root() / "WINDOWS" / "SYSTEM.INI");
    });
    test::drag(*f->Slider2, 1048576);
    EXPECT_NE(f->Label32->caption().find("above 524288 Kb"), std::string::npos);
    t.m.dialogs->answerNext(answer);
    if (answer != MsgBoxResult::Cancel) t.m.dialogs->answerNext(MsgBoxResult::No);  // the restart prompt
    ASSERT_TRUE(f->Command1->userClick());
    EXPECT_EQ(cacheQuestions(), 1u);
    EXPECT_EQ(atTheQuestion, before) << "nothing is written before the answer";
    t.m.dialogs->setObserver(nullptr);

    const std::string written = t.ini(kSystemIni, "vcache", "MaxFileCache");
    if (answer == MsgBoxResult::Cancel) {
      EXPECT_FALSE(closed());
      EXPECT_EQ(test::readFile(t.m.root() / "WINDOWS" / "SYSTEM.INI"), before);
      EXPECT_EQ(t.pref("Presets"), "(absent)") << "going back writes no preference either";
      f->unload();
    } else {
      EXPECT_TRUE(closed());
      EXPECT_EQ(written, answer == MsgBoxResult::Yes ? "524288" : "1048576");
    }
    t.m.dialogs->clear();
  }
}

TEST_F(LargeMachine, RemovingTheMaximumAsksOnlyAboveHalfAGigabyte) {
  for (const uint64_t mb : {512ull, 513ull}) {
    SCOPED_TRACE(mb);
    t.plinth.INIWrite("vcache", "MaxFileCache", "8192", kSystemIni);
    startWith(mb);
    EXPECT_EQ(f->Label32->caption(), "");
    test::drag(*f->Slider2, 0);
    EXPECT_EQ(f->Label32->caption().empty(), mb == 512);
    if (mb > 512) t.m.dialogs->answerNext(MsgBoxResult::Yes);
    t.m.dialogs->answerNext(MsgBoxResult::No);
    ASSERT_TRUE(f->Command1->userClick());
    EXPECT_EQ(cacheQuestions(), mb > 512 ? 1u : 0u);
    EXPECT_EQ(t.ini(kSystemIni, "vcache", "MaxFileCache"), mb > 512 ? "524288" : "(absent)");
    t.m.dialogs->clear();
  }
}

TEST_F(LargeMachine, ALargeMachineWithoutAMaximumIsToldAtOnce) {
  t.plinth.INIWrite("vcache", "MaxFileCache", BStr::null(), kSystemIni);
  startWith(1024);
  EXPECT_NE(f->Label32->caption().find("without a Max Disk Cache"), std::string::npos);
}

TEST_F(LargeMachine, AnOkThatLeavesTheCacheAloneAsksNothing) {
  t.plinth.INIWrite("vcache", "MaxFileCache", "1048576", kSystemIni);
  startWith(4096);
  EXPECT_NE(f->Label32->caption().find("above 524288 Kb"), std::string::npos) << "the tab still says so";
  f->TabStrip1->userSelect(3);
  ASSERT_TRUE(f->Check1->userClick());
  t.m.dialogs->answerNext(MsgBoxResult::No);
  ASSERT_TRUE(f->Command1->userClick());
  EXPECT_EQ(cacheQuestions(), 0u);
  EXPECT_TRUE(closed());
}

}  // namespace
}  // namespace tw
