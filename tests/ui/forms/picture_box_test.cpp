#include "ui/forms/picture_box.h"

#include <vector>

#include <gtest/gtest.h>

#include "host/runtime/errors.h"
#include "ui/forms/form.h"

namespace tw::forms {
namespace {

constexpr Color kEmpty = 0xFE0000;
constexpr Color kFull = 0xFFE358;

// A gauge bar as the status tab draws it: a pen as wide as the filled part,
// down the middle of that part.
void drawBar(PictureBox& box, int percent) {
  const int width = static_cast<int>(box.scaleWidth() * percent / 100.0 + 0.5);
  box.setPicture("");
  if (percent < 2) {
    box.setBackColor(kEmpty);
    box.setDrawWidth(1);
    box.line(0, 0, 0, 0, kFull);
  } else if (percent < 99) {
    box.setBackColor(kEmpty);
    box.setDrawWidth(width);
    box.line(width / 2, 0, width / 2, box.scaleHeight(), kFull);
  } else {
    box.setBackColor(kFull);
  }
}

struct Window : Form {
  Window() : Form("Form1") {
    // 150 x 20 pixels inside a two-pixel border.
    bar.move(0, 0, 154 * 15, 24 * 15);
    bar.setScaleMode(ScaleMode::Pixels);
  }
  PictureBox& bar = add<PictureBox>("Picture5");
};

TEST(PictureBox, ABarRecordsOnlyWhatTheBoxShowsNow) {
  Window w;
  EXPECT_DOUBLE_EQ(w.bar.scaleWidth(), 150);
  EXPECT_DOUBLE_EQ(w.bar.scaleHeight(), 20);

  drawBar(w.bar, 50);
  EXPECT_EQ(w.bar.backColor(), kEmpty);
  EXPECT_EQ(w.bar.drawing(), (std::vector<DrawOp>{{DrawOp::Kind::Line, 37, 0, 37, 20, kFull, 75, ""}}));

  // Same background colour as before: the old bar must still go.
  drawBar(w.bar, 1);
  EXPECT_EQ(w.bar.drawing(), (std::vector<DrawOp>{{DrawOp::Kind::Line, 0, 0, 0, 0, kFull, 1, ""}}));

  drawBar(w.bar, 100);
  EXPECT_EQ(w.bar.backColor(), kFull);
  EXPECT_TRUE(w.bar.drawing().empty());

  w.bar.line(0, 0, 5, 5);
  w.bar.setBackColor(kFull);  // unchanged, and still an erase
  EXPECT_TRUE(w.bar.drawing().empty());
}

TEST(PictureBox, AUserScaleMapsOntoTheInsideOfTheBoxAndABadPenIsRefused) {
  Window w;
  w.bar.setScaleWidth(100);
  EXPECT_EQ(w.bar.scaleMode(), ScaleMode::User);
  EXPECT_DOUBLE_EQ(w.bar.scaleHeight(), 20) << "the other extent keeps its present units";
  EXPECT_DOUBLE_EQ(w.bar.pixelsPerUnitX(), 1.5);
  w.bar.setScaleMode(ScaleMode::Twips);
  EXPECT_DOUBLE_EQ(w.bar.scaleWidth(), 150 * 15);
  EXPECT_DOUBLE_EQ(w.bar.pixelsPerUnitX(), 1.0 / 15);

  w.bar.setDrawWidth(4);
  EXPECT_THROW(w.bar.setDrawWidth(0), RuntimeError);
  EXPECT_EQ(w.bar.drawWidth(), 4) << "a refused pen width leaves the pen as it was";
}

}  // namespace
}  // namespace tw::forms
