// What a gauge bar draws for a percentage, on a gauge box of the Status tab.

#include <gtest/gtest.h>

#include <vector>

#include "app/status/gauge_colours.h"
#include "tests/app/tuner_fixture.h"

namespace tw {
namespace {

using app::kGaugeEmpty;
using app::kGaugeFilled;
using forms::DrawOp;

struct Bar : test::MainWindow {
  forms::PictureBox& box = *f.Picture5;

  void draw(int16_t percent) { f.Picsize(box, percent); }
  static DrawOp line(double x, int width, double height) {
    return {DrawOp::Kind::Line, x, 0, x, height, kGaugeFilled, width, ""};
  }
};

TEST_F(Bar, EachPercentageFillsItsShareOfTheScaleWidthWithOnePen) {
  ASSERT_EQ(box.scaleMode(), forms::ScaleMode::Pixels) << "pen widths and bar widths must be one unit";
  ASSERT_DOUBLE_EQ(box.scaleWidth(), 158);
  const double h = box.scaleHeight();
  struct Case {
    int16_t percent;
    forms::Color back;
    std::vector<DrawOp> drawing;
  };
  const std::vector<DrawOp> nothing = {{DrawOp::Kind::Line, 0, 0, 0, 0, kGaugeFilled, 1, ""}};
  const Case cases[] = {
      {0, kGaugeEmpty, nothing},
      {1, kGaugeEmpty, nothing},
      {2, kGaugeEmpty, {line(1, 3, h)}},     // 3.16 units
      {50, kGaugeEmpty, {line(39, 79, h)}},  // the left half, 0 to 79
      {98, kGaugeEmpty, {line(77, 155, h)}},
      {99, kGaugeFilled, {}},
      {100, kGaugeFilled, {}},
      {-5, kGaugeEmpty, nothing},
      {250, kGaugeFilled, {}},
  };
  // From a full bar to each case and back, so that nothing of the bar
  // before is left behind.
  for (const Case& c : cases) {
    draw(100);
    draw(c.percent);
    EXPECT_EQ(box.backColor(), c.back) << c.percent << " %";
    EXPECT_EQ(box.drawing(), c.drawing) << c.percent << " %";
    draw(50);
    draw(c.percent);
    EXPECT_EQ(box.drawing(), c.drawing) << c.percent << " % after half a bar";
  }
  EXPECT_TRUE(t.m.dialogs->shown().empty());
}

TEST_F(Bar, TheWidthRoundsHalvesToEven) {
  // 157 and 159 units: half of each is an exact half.
  box.move(box.left(), box.top(), (157 + 4) * 15, box.height());
  draw(50);
  EXPECT_EQ(box.drawing().at(0).width, 78);
  box.move(box.left(), box.top(), (159 + 4) * 15, box.height());
  draw(50);
  EXPECT_EQ(box.drawing().at(0).width, 80);
}

TEST_F(Bar, ABarThatCannotBeDrawnIsReportedAndTheRestOfTheWindowGoesOn) {
  // Ten units wide, 2 % is no width at all: no pen is that thin.
  box.move(box.left(), box.top(), (10 + 4) * 15, box.height());
  draw(2);
  ASSERT_EQ(t.m.dialogs->shown().size(), 1u);
  EXPECT_EQ(t.m.dialogs->shown()[0].text, "380 Invalid property value in Form1.Picsize");
  EXPECT_EQ(t.m.dialogs->shown()[0].title, "Error");
  draw(60);
  EXPECT_EQ(box.drawing(), std::vector<DrawOp>{line(3, 6, box.scaleHeight())});
}

}  // namespace
}  // namespace tw
