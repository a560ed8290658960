// The Cache tab's configurations: the preset table, regeneration at
// start-up, the list as far as the 260-character buffer holds names whole,
// choosing, adding and removing, and the min/max interlock while dragging.

#include <gtest/gtest.h>

#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

constexpr const char* kCacheIni = "C:\\Program Files\\Tunewell\\Cache.ini";
using Values = std::vector<int>;

struct CacheConfigurations : test::RunningTuner {
  void SetUp() override { start(2); }
  // A section's five values; -1 for a missing key.
  Values section(const std::string& name) {
    Values v;
    for (const char* key : {"MinFileCache", "MaxFileCache", "Chunksize", "NameCache", "PathCache"})
      v.push_back(static_cast<int>(val(t.plinth.INIRead(name, key, "-1", kCacheIni))));
    return v;
  }
  Values sliders() {
    return {f->Slider1->value(), f->Slider2->value(), f->Slider3->value(), f->Slider4->value(), f->Slider5->value()};
  }
  void pick(const std::string& name) { ASSERT_TRUE(f->Combo1->userSelect(f->Combo1->findExact(name))) << name; }
};

TEST_F(CacheConfigurations, ThePresetTableFollowsTheMemorySizeRoundingHalvesToEven) {
  const std::vector<std::tuple<int, const char*, Values>> rows = {
      {24, "Standard Use", {0, 3072, 512, 3072, 64}},   {24, "3D Gaming", {2048, 2048, 1024, 1024, 24}},
      {32, "Standard Use", {0, 4096, 1024, 6144, 255}}, {64, "CD Writer", {2048, 2048, 4096, 6144, 255}},
      {64, "3D Gaming", {4096, 4096, 2048, 2048, 48}},  {64, "File Server", {8192, 16384, 2048, 6144, 255}},
      {64, "Multimedia", {4096, 8192, 4096, 6144, 255}}, {64, "Power User", {2048, 16384, 1024, 6144, 255}},
      {96, "Standard Use", {2048, 12288, 1024, 6144, 255}}, {160, "Standard Use", {2048, 20480, 1024, 6144, 255}},
  };
  for (const auto& [mb, preset, values] : rows) {
    f->WritePresetTable(mb * 1024.0);
    EXPECT_EQ(section(preset), values) << preset << " at " << mb << " MB";
  }
  f->WritePresetTable(64 * 1024 - 1);
  EXPECT_NE(test::readFile(t.programFolder() / "Cache.ini")
                .find("[Standard Use]\r\nMinFileCache=1024\r\nMaxFileCache=8192\r\nChunksize=1024\r\n"),
            std::string::npos);
}

TEST_F(CacheConfigurations, ARemovedPresetStaysRemovedUntilTheTableIsWrittenAgain) {
  f->Combo1->userType("Mine");
  ASSERT_TRUE(f->cAdd->userClick());
  pick("CD Writer");
  t.m.dialogs->answerNext(MsgBoxResult::Ok);
  ASSERT_TRUE(f->cRemove->userClick());
  f->unload();

  start(2);
  EXPECT_EQ(section("CD Writer"), Values(5, -1));
  f->unload();
  t.platform->setMemory(std::make_shared<test::FixedMemory>(128ull << 20));
  start(2);
  EXPECT_EQ(section("CD Writer"), (Values{4096, 4096, 4096, 6144, 255}));
  EXPECT_EQ(section("Mine"), Values(5, 0)) << "custom configurations survive";
  f->unload();
  std::filesystem::remove(t.programFolder() / "Cache.ini");
  start(2);
  EXPECT_EQ(section("Standard Use"), (Values{2048, 16384, 1024, 6144, 255}));
}

TEST_F(CacheConfigurations, OnlyNamesThatFitWholeInTheBufferAreOffered) {
  auto offered = [&](const std::vector<std::string>& names) {
    std::string ini;
    for (const auto& n : names) ini += "[" + n + "]\r\nMinFileCache=1\r\n";
    test::writeFile(t.programFolder() / "Cache.ini", ini);
    f->LoadConfigurations();
    return f->Combo1->items();
  };
  // Nine names take 234 characters with their NULs; a 25-character tenth
  // is cut to 24, a 24-character one fits to the last two.
  std::vector<std::string> names;
  for (char c = 'a'; c < 'a' + 9; ++c) names.push_back(std::string(25, c));
  auto with = [&](std::string last) {
    auto all = names;
    all.push_back(std::move(last));
    return all;
  };
  EXPECT_EQ(offered(with(std::string(25, 'z'))), names);
  EXPECT_EQ(offered(with(std::string(24, 'z'))), with(std::string(24, 'z')));
  // Cut to the very name of an earlier configuration: not offered twice.
  names[0] = std::string(24, 'z');
  names[1] = std::string(26, 'b');
  EXPECT_EQ(offered(with(std::string(26, 'z'))), names);
}

TEST_F(CacheConfigurations, ChoosingAddingAndRemovingFollowTheirRules) {
  test::writeFile(t.programFolder() / "Cache.ini",
                  "[Big]\r\nMinFileCache=98304\r\nMaxFileCache=4096\r\nChunksize=512.5\r\nNameCache=x\r\n");
  f->LoadConfigurations();
  f->Combo1->userType("B");
  EXPECT_TRUE(f->cAdd->enabled());
  pick("Big");
  EXPECT_FALSE(f->cAdd->enabled());
  EXPECT_TRUE(f->cRemove->enabled());
  // Shown as stored, the minimum above the maximum and beyond the memory.
  EXPECT_EQ(sliders(), (Values{98304, 4096, 512, 0, 0}));
  EXPECT_EQ(f->PendingSettings.MinFileCache, 98304);
  EXPECT_EQ(f->Label9->caption(), "Custom configuration.");
  EXPECT_EQ(f->CurrentPreset, "Big");

  test::drag(*f->Slider3, 1000);
  f->Combo1->userType("Mine");
  ASSERT_TRUE(f->cAdd->userClick());
  EXPECT_EQ(section("Mine"), (Values{98304, 4096, 992, 0, 0}));
  pick("Mine");
  t.m.dialogs->answerNext(MsgBoxResult::Cancel);
  ASSERT_TRUE(f->cRemove->userClick());
  EXPECT_EQ(t.m.dialogs->shown().back(), (ShownBox{"Remove this configuration?", 33, "Remove Settings"}));
  EXPECT_EQ(section("Mine")[2], 992);
  pick("Mine");
  t.m.dialogs->answerNext(MsgBoxResult::Ok);
  ASSERT_TRUE(f->cRemove->userClick());
  EXPECT_EQ(section("Mine"), Values(5, -1));
  EXPECT_EQ(f->Combo1->items(), std::vector<std::string>{"Big"});
  EXPECT_EQ(f->Combo1->text(), "Mine");

  // A name Cache.ini cannot hold is refused aloud, and the file is kept.
  const std::string before = test::readFile(t.programFolder() / "Cache.ini");
  f->Combo1->userType("]");
  ASSERT_TRUE(f->cAdd->userClick());
  EXPECT_EQ(t.m.dialogs->shown().back().title, "Tunewell Error");
  EXPECT_EQ(test::readFile(t.programFolder() / "Cache.ini"), before);
}

TEST_F(CacheConfigurations, DraggingSnapsAndKeepsTheMinimumAtOrBelowTheMaximum) {
  pick("Standard Use");
  test::drag(*f->Slider1, 3000);
  EXPECT_EQ(sliders(), (Values{3072, 8192, 1024, 6144, 255}));
  EXPECT_EQ(f->text1->caption(), "3072 Kb");
  EXPECT_EQ(f->Combo1->text(), "");
  EXPECT_EQ(f->Label9->caption(), "Custom configuration.");
  test::drag(*f->Slider1, 10000);
  EXPECT_EQ(f->PendingSettings.MaxFileCache, 10240);
  EXPECT_EQ(f->text2->caption(), "10240 Kb");
  test::drag(*f->Slider2, 700);
  EXPECT_EQ(f->PendingSettings.MinFileCache, 512);
  test::drag(*f->Slider4, 100);
  EXPECT_EQ(f->text4->caption(), "96 Names");
  // The last step below a memory size that is no multiple of 512.
  f->Slider1->setMax(65000);
  test::drag(*f->Slider1, 65000);
  EXPECT_EQ(f->Slider1->value(), 64512);
}

}  // namespace
}  // namespace tw
