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

QStyle* copyOfApplicationStyle() {
  const QStyle* style = QApplication::style();
  if (const auto* classic = dynamic_cast<const ClassicStyle*>(style)) style = classic->baseStyle();
  return QStyleFactory::create(style->name());
}

}  // namespace tw::qt
