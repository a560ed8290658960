#include "ui/forms/picture_box.h"

#include <vector>

#include <gtest/gtest.h>

#include "tests/ui/forms/helpers.h"
#include "ui/forms/form.h"

namespace tw::forms {
namespace {

constexpr Color kEmpty = 0xFE0000;
constexpr Color kFull = 0xFFE358;

struct Window : Form {
  Window() : Form("Form1") {
    // 150 x 20 pixels inside a two-pixel border.
    bar.move(0, 0, 154 * 15, 24 * 15);
    bar.setScaleMode(ScaleMode::Pixels);
  }
  PictureBox& bar = add<PictureBox>("Picture5");
};

// The status gauges redraw by setting the background or picture and drawing
// the bar again: the old bar must go, even when the colour stays the same.
TEST(PictureBox, SettingTheBackgroundOrPictureErasesTheDrawingEvenWhenUnchanged) {
  Window w;
  EXPECT_DOUBLE_EQ(w.bar.scaleWidth(), 150);
  EXPECT_DOUBLE_EQ(w.bar.scaleHeight(), 20);
  w.bar.setBackColor(kEmpty);
  w.bar.setDrawWidth(75);
  w.bar.line(37, 0, 37, w.bar.scaleHeight(), kFull);
  EXPECT_EQ(w.bar.drawing(), (std::vector<DrawOp>{{DrawOp::Kind::Line, 37, 0, 37, 20, kFull, 75, ""}}));

  w.bar.setBackColor(kEmpty);
  EXPECT_TRUE(w.bar.drawing().empty());
  w.bar.line(0, 0, 0, 0, kFull);
  w.bar.setPicture("");
  EXPECT_TRUE(w.bar.drawing().empty());
}

}  // namespace
}  // namespace tw::forms
