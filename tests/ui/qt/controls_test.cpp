// Each control's widget against its model: the user's actions reach the
// model's events in the classic order, and the model's changes (including
// the ones its handlers make) reach the widget.

#include <string>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QStyleOptionButton>
#include <QStyleOptionSlider>
#include <QToolTip>

#include "tests/ui/qt/qt_app.h"
#include "ui/forms/forms.h"

namespace tw::qt {
namespace {

using Log = std::vector<std::string>;
using Controls = test::FormTest;

TEST_F(Controls, ClickingTheCheckBoxIndicatorCyclesTheModelAndShowsWhatItHolds) {
  auto& box = form.add<forms::CheckBox>("Check1");
  box.move(300, 300, 3000, 300);
  box.setCaption("Keep on top");
  bool refuse = false;
  box.Click.connect([&] {
    log.push_back("Click " + std::to_string(box.value()));
    if (refuse && box.value() == 1) box.setValue(0);
  });
  auto window = open();
  auto* widget = window->widgetAs<QCheckBox>("Check1");
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->text(), "Keep on top");
  QStyleOptionButton option;
  option.initFrom(widget);
  const QPoint indicator =
      widget->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, widget).center();

  QTest::mouseClick(widget, Qt::LeftButton, {}, indicator);
  EXPECT_EQ(box.value(), 1);
  EXPECT_EQ(widget->checkState(), Qt::Checked);

  box.setValue(2);
  EXPECT_EQ(widget->checkState(), Qt::PartiallyChecked);
  QTest::mouseClick(widget, Qt::LeftButton, {}, indicator);
  EXPECT_EQ(box.value(), 0) << "a click clears a grayed box";
  EXPECT_EQ(widget->checkState(), Qt::Unchecked);

  refuse = true;  // the handler puts the box back
  QTest::mouseClick(widget, Qt::LeftButton, {}, indicator);
  EXPECT_EQ(box.value(), 0);
  EXPECT_EQ(widget->checkState(), Qt::Unchecked);
  EXPECT_EQ(log, (Log{"Click 1", "Click 2", "Click 0", "Click 1", "Click 0"}));
}

TEST_F(Controls, DraggingTheThumbRaisesScrollForEachPositionAndChangeOnceAtTheRelease) {
  auto& slider = form.add<forms::Slider>("Slider1");
  slider.move(150, 150, 4500, 600);
  slider.setRange(0, 20);
  slider.Scroll.connect([&] {
    log.push_back("Scroll " + std::to_string(slider.value()));
    // A handler that allows even positions only, and says where it is.
    if (slider.value() % 2 != 0) slider.setValue(slider.value() - 1);
    slider.setText(std::to_string(slider.value()) + " Kb");
  });
  slider.Change.connect([&] { log.push_back("Change " + std::to_string(slider.value())); });
  auto window = open();
  auto* widget = window->widgetAs<QSlider>("Slider1");
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(widget->tickPosition(), QSlider::TicksBelow);

  QStyleOptionSlider option;
  option.initFrom(widget);
  option.minimum = widget->minimum();
  option.maximum = widget->maximum();
  option.sliderPosition = widget->sliderPosition();
  option.orientation = widget->orientation();
  option.tickPosition = widget->tickPosition();
  const QRect thumb = widget->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, widget);
  const QRect groove = widget->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, widget);
  // Where the pointer holding the thumb by its centre must be for a value.
  auto xOf = [&](int value) {
    return groove.x() + QStyle::sliderPositionFromValue(0, 20, value, groove.width() - thumb.width()) +
           (thumb.center().x() - thumb.x());
  };

  QTest::mousePress(widget, Qt::LeftButton, {}, thumb.center());
  QTest::mouseMove(widget, QPoint(xOf(5), thumb.center().y()));
  QTest::mouseMove(widget, QPoint(xOf(8), thumb.center().y()));
  EXPECT_EQ(widget->sliderPosition(), 8);
  EXPECT_TRUE(QToolTip::isVisible());
  EXPECT_EQ(QToolTip::text(), "8 Kb") << "the held thumb shows the slider's text";
  QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(xOf(8), thumb.center().y()));
  EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000)) << "and lets it go at the release";
  EXPECT_EQ(slider.value(), 8);
  EXPECT_EQ(widget->value(), 8);
  EXPECT_EQ(log, (Log{"Scroll 5", "Change 4", "Scroll 8", "Change 8"}))
      << "the handler's snap raises its own Change; the release announces the final value";

  log.clear();
  widget->setFocus();
  QTest::keyClick(widget, Qt::Key_PageUp);
  EXPECT_EQ(slider.value(), 3 - 1) << "Page Up moves towards Min by LargeChange, and the handler snaps";
  EXPECT_EQ(widget->value(), 2);
  QTest::keyClick(widget, Qt::Key_End);
  EXPECT_EQ(slider.value(), 20);
  EXPECT_EQ(log, (Log{"Scroll 3", "Change 2", "Scroll 20", "Change 20"}));

  slider.setValue(10);
  EXPECT_EQ(widget->value(), 10) << "a value set by the program moves the thumb";
}

TEST_F(Controls, PickingAndTypingInAComboBoxGoThroughClickKeyPressAndChange) {
  auto& combo = form.add<forms::ComboBox>("Combo1");
  combo.move(150, 150, 3000, 315);
  for (const char* item : {"CD Writer", "File Server", "3D Gaming"}) combo.addItem(item);
  combo.KeyPress.connect([&](int& key) {
    if (key == '!') key = 0;                        // refused
    if (key >= 'a' && key <= 'z') key -= 'a' - 'A';  // upper case
  });
  combo.Click.connect([&] { log.push_back("Click " + combo.text()); });
  combo.Change.connect([&] { log.push_back("Change " + combo.text()); });
  auto window = open();
  auto* widget = window->widgetAs<QComboBox>("Combo1");
  ASSERT_NE(widget, nullptr);
  ASSERT_TRUE(widget->isEditable());
  ASSERT_EQ(widget->count(), 3);

  widget->activated(1);  // what the list emits when the user picks an item
  EXPECT_EQ(combo.listIndex(), 1);
  EXPECT_EQ(widget->lineEdit()->text(), "File Server");

  widget->lineEdit()->selectAll();  // typing replaces the picked item
  QTest::keyClicks(widget->lineEdit(), "ab!c");
  EXPECT_EQ(combo.text(), "ABC");
  EXPECT_EQ(widget->lineEdit()->text(), "ABC");
  EXPECT_EQ(combo.listIndex(), -1);
  EXPECT_EQ(log, (Log{"Click File Server", "Change A", "Change AB", "Change ABC"}));
}

TEST_F(Controls, ModelChangesReachTheirWidgets) {
  auto& frame = form.add<forms::Frame>("Frame1");
  frame.move(150, 150, 4500, 3000);
  auto& label = form.add<forms::Label>("Label20", -1, &frame);
  label.move(150, 300, 3000, 450);
  auto window = open();
  auto* text = window->widgetAs<QLabel>("Label20");
  auto* group = window->widgetAs<QGroupBox>("Frame1");
  ASSERT_TRUE(text && group);

  EXPECT_EQ(text->geometry(), QRect(10, 20, 200, 30)) << "15 twips to the pixel, in the frame's coordinates";
  label.setCaption("Welcome to <b>Tunewell</b>! & more");
  frame.setCaption("System Information");
  label.move(300, 300, 1500, 600);
  EXPECT_EQ(text->text(), "Welcome to <b>Tunewell</b>!  more") << "plain text, access marks dropped";
  EXPECT_EQ(text->textFormat(), Qt::PlainText);
  EXPECT_EQ(group->title(), "System Information");
  EXPECT_EQ(text->geometry(), QRect(20, 20, 100, 40));
}

}  // namespace
}  // namespace tw::qt
