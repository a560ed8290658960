#include "ui/qt/classic_style.h"

#include <QApplication>
#include <QStyleFactory>
#include <QStyleOption>

#include "ui/qt/frames.h"

namespace tw::qt {

ClassicStyle::ClassicStyle(QStyle* windows) : QProxyStyle(windows) {}

QStyle* makeClassicStyle() {
  QStyle* windows = QStyleFactory::create(QStringLiteral("Windows"));
  return windows != nullptr ? new ClassicStyle(windows) : nullptr;
}

void ClassicStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                 const QWidget* widget) const {
  if (option != nullptr && painter != nullptr) {
    switch (element) {
      case PE_FrameGroupBox:
        if (const auto* frame = qstyleoption_cast<const QStyleOptionFrame*>(option);
            frame != nullptr && !(frame->features & QStyleOptionFrame::Flat) && frame->lineWidth == 1 &&
            frame->midLineWidth == 0) {
          drawShadeRect(*painter, frame->rect, frame->palette, true);
          return;
        }
        break;
      case PE_FrameTabWidget: drawWinButton(*painter, option->rect, option->palette, false, nullptr); return;
      case PE_PanelButtonCommand:
        // A default button held down is drawn as a plain rectangle, and a
        // flat one as a fill: both stay with the style.
        if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
          const State state = option->state;
          const bool pressedDefault = (button->features & QStyleOptionButton::DefaultButton) && (state & State_Sunken);
          if (!pressedDefault && (state & (State_Raised | State_On | State_Sunken))) {
            const QBrush fill = !(state & State_Sunken) && (state & State_On)
                                    ? QBrush(option->palette.light().color(), Qt::Dense4Pattern)
                                    : option->palette.brush(QPalette::Button);
            drawWinButton(*painter, option->rect, option->palette, (state & (State_Sunken | State_On)) != 0, &fill);
            return;
          }
        }
        break;
      default: break;
    }
  }
  QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ClassicStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                                      const QWidget* widget) const {
  // A frame's border is drawn around its title as the style draws it, but
  // without the clip region the style sets for that: the title and check
  // box are then left to the style.
  const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control == CC_GroupBox && box != nullptr && painter != nullptr && (box->subControls & SC_GroupBoxFrame) &&
      !(box->features & QStyleOptionFrame::Flat) && box->lineWidth == 1 && box->midLineWidth == 0) {
    QRect gap;
    if (!box->text.isEmpty()) {
      gap = proxy()->subControlRect(CC_GroupBox, box, SC_GroupBoxLabel, widget);
      if (box->subControls & SC_GroupBoxCheckBox) {
        const bool leftToRight = box->direction == Qt::LeftToRight;
        gap = proxy()->subControlRect(CC_GroupBox, box, SC_GroupBoxCheckBox, widget).united(gap);
        gap.adjust(leftToRight ? -4 : 0, 0, leftToRight ? 0 : 4, 0);
      }
    }
    // The style's clip region is the option's rectangle less the title.
    const QRect frame = proxy()->subControlRect(CC_GroupBox, box, SC_GroupBoxFrame, widget);
    if (box->rect.contains(frame) && fillsExactly(*painter, frame)) {
      drawShadeRect(*painter, frame, box->palette, true, gap);
      QStyleOptionGroupBox rest(*box);
      rest.subControls &= ~SC_GroupBoxFrame;
      QProxyStyle::drawComplexControl(control, &rest, painter, widget);
      return;
    }
  }
  QProxyStyle::drawComplexControl(control, option, painter, widget);
}

QStyle* copyOfApplicationStyle() {
  const QStyle* style = QApplication::style();
  if (const auto* classic = dynamic_cast<const ClassicStyle*>(style)) style = classic->baseStyle();
  return QStyleFactory::create(style->name());
}

}  // namespace tw::qt
