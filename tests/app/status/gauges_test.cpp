// The seven gauges on fixed figures, and when the gauge timer runs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/status/gauge_colours.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

constexpr uint64_t MB = 1024 * 1024;

struct Gauges : test::RunningTuner {
  test::FixedFigures& figures = *t.figures;

  std::vector<std::string> captions() const {
    return {f->Label3->caption(),  f->Label2->caption(),  f->Label7->caption(),   f->LRe(2).caption(),
            f->Label11->caption(), f->Label14->caption(), f->Label4(0).caption()};
  }
  // The filled width of a bar: the pen of its line, the whole box, or 0.
  static double filled(const forms::PictureBox& bar) {
    if (bar.backColor() == app::kGaugeFilled) return bar.scaleWidth();
    const auto& d = bar.drawing();
    return d.size() == 1 && d[0].x2 == d[0].x1 && d[0].y2 > 0 ? d[0].width : 0;
  }
  void tick() {
    ASSERT_TRUE(t.env.running(*f->Timer1));
    t.env.advance(*t.env.intervalOf(*f->Timer1));
  }
};

TEST_F(Gauges, EachTickShowsTheSevenReadingsInTheirCaptionsAndBars) {
  start(1);
  figures.cpu = 37;
  figures.memory.availPhys = 16 * MB;
  figures.memory.totalPageFile = 200 * MB;
  figures.memory.availPageFile = 100 * MB;
  figures.diskCache = 8 * MB;
  figures.swapInUse = 40 * MB;
  figures.volume = sys::VolumeSpace{2146467840, 1536 * MB};
  figures.free = {45, 70, 60};
  tick();

  EXPECT_EQ(captions(), (std::vector<std::string>{"Current processor load: 37%",
                                                  "Hard drive space used: 511 Mb of 2047 Mb",
                                                  "Physical memory used: 48 Mb of 64 Mb",
                                                  "Current cache size: 8 Mb",
                                                  "Current swap file size: 40 Mb",
                                                  "Virtual memory used: 148 Mb of 4096 Mb",
                                                  "System resource load: 55%"}));
  // Of 158 units: 37 % is 58.46; 25 % (511 of 2047) 39.5; 75 % 118.5;
  // 12.5 % of memory rounds to 12 %, 18.96; 2 % (40 of 2047) 3.16;
  // 4 % (148 of 4096) 6.32; 55 % 86.9.
  EXPECT_EQ(filled(*f->Picture5), 58);
  EXPECT_EQ(filled(*f->Picture6), 40);
  EXPECT_EQ(filled(f->Picture1(0)), 118);
  EXPECT_EQ(filled(f->Picture1(3)), 19);
  EXPECT_EQ(filled(f->Picture1(1)), 3);
  EXPECT_EQ(filled(f->Picture1(2)), 6);
  EXPECT_EQ(filled(*f->Picture2), 87);
  EXPECT_TRUE(t.m.boxTexts().empty());

  // A swap file on the drive is what the swap and virtual-memory gauges
  // count; an almost idle machine still shows a sliver of virtual memory.
  test::writeFile(t.m.root() / "WINDOWS" / "WIN386.SWP", "");
  figures.memory.availPhys = 63 * MB;
  tick();
  EXPECT_EQ(f->Label11->caption(), "Current swap file size: 0 Mb");
  EXPECT_EQ(f->Label14->caption(), "Virtual memory used: 1 Mb of 4096 Mb");
  EXPECT_EQ(filled(f->Picture1(1)), 0) << "the 1 % floor still draws an empty bar";
  EXPECT_EQ(filled(f->Picture1(2)), 0);
}

TEST_F(Gauges, AGaugeWhoseMeterFailsKeepsWhatItShowedAndTheOthersGoOn) {
  start(1);
  const std::vector<std::string> before = captions();
  const std::vector<forms::DrawOp> driveBar = f->Picture6->drawing();
  const std::vector<forms::DrawOp> swapBar = f->Picture1(1).drawing();

  // The drive goes away: the hard-drive and swap-file meters fail.
  figures.volume.reset();
  figures.cpu = 99;
  figures.free[0] = 10;
  tick();
  EXPECT_EQ(t.m.boxTexts(), (std::vector<std::string>{"68 Device unavailable in Plinth.HardDrive",
                                                  "68 Device unavailable in Plinth.PageSize"}));
  const std::vector<std::string> after = captions();
  EXPECT_EQ(after[0], "Current processor load: 99%");
  EXPECT_EQ(after[1], before[1]) << "not \"0 Mb of 0 Mb\" beside the processor's bar";
  EXPECT_EQ(after[4], before[4]);
  EXPECT_EQ(f->Picture6->drawing(), driveBar);
  EXPECT_EQ(f->Picture1(1).drawing(), swapBar);
  EXPECT_EQ(filled(*f->Picture5), f->Picture5->scaleWidth());
  EXPECT_EQ(after[6], "System resource load: 90%") << "the gauges after the failing ones are still read";
  EXPECT_EQ(filled(*f->Picture2), 142);
}

TEST_F(Gauges, ATabClickDeliveredByTheRefreshsMessagePumpIsHandled) {
  start(1);
  bool clicked = false;
  t.env.setDoEventsHook([&] {
    if (clicked) return;
    clicked = true;
    ASSERT_TRUE(f->TabStrip1->userSelect(3));
  });
  figures.cpu = 64;
  tick();
  EXPECT_TRUE(clicked);
  EXPECT_EQ(f->Label3->caption(), "Current processor load: 64%") << "the refresh ran to its end";
  EXPECT_TRUE(f->Frame11->visible());
  EXPECT_FALSE(f->Frame1->visible());
  EXPECT_FALSE(t.env.running(*f->Timer1));
  figures.cpu = 5;
  t.env.advance(5000);
  EXPECT_EQ(f->Label3->caption(), "Current processor load: 64%") << "frozen on another tab";

  // Back on the Status tab, the next tick brings the gauges up to date.
  ASSERT_TRUE(f->TabStrip1->userSelect(1));
  tick();
  EXPECT_EQ(f->Label3->caption(), "Current processor load: 5%");
}

TEST_F(Gauges, TheTimerRunsOnlyOnTheStatusTabAtTheChosenSpeedAndStopsWhenApplying) {
  t.start();  // the first run, which clears the preferences
  t.setPref("Speed", "250");
  start(1);
  EXPECT_EQ(t.env.intervalOf(*f->Timer1), 250);
  ASSERT_TRUE(f->TabStrip1->userSelect(5));
  EXPECT_FALSE(t.env.running(*f->Timer1));
  f->Option2(4).userClick();
  EXPECT_FALSE(t.env.running(*f->Timer1)) << "choosing a speed does not start the gauges";
  ASSERT_TRUE(f->TabStrip1->userSelect(1));
  EXPECT_EQ(t.env.intervalOf(*f->Timer1), 5000);

  f->ApplySets();
  EXPECT_FALSE(t.env.running(*f->Timer1));
}

TEST(GaugeSpeed, WithoutAStoredSpeedTheGaugesRefreshEveryHalfSecond) {
  for (const char* stored : {"", "2", "750"}) {
    test::TunerMachine t;
    t.start();
    if (*stored) t.setPref("Speed", stored);
    t.start();
    EXPECT_EQ(t.env.intervalOf(*t.form->Timer1), 500) << "Speed \"" << stored << "\"";
    EXPECT_TRUE(t.form->Option2(1).value());
  }
}

}  // namespace
}  // namespace tw
