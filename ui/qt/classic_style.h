#pragma once
// Qt's classic "Windows" style with its commonest borders (push buttons,
// frames, the tab strip's panel) drawn by frames.h: the same pixels, in a
// fraction of the time.  Everything else is the Windows style's own.

#include <QProxyStyle>

namespace tw::qt {

class ClassicStyle : public QProxyStyle {
 public:
  // Over `windows`, a "Windows" style of its own (null: Qt has none).
  explicit ClassicStyle(QStyle* windows);

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                          const QWidget* widget) const override;
};

// A new ClassicStyle; null when this Qt has no "Windows" style.
QStyle* makeClassicStyle();

// A new style of the application style's kind (for a ClassicStyle, a plain
// "Windows" style), for proxies that change one thing for some widgets.  A
// proxy over a proxy would not work: the inner one's base asks the inner
// one, never the outer, for the metrics the outer changes.
QStyle* copyOfApplicationStyle();

}  // namespace tw::qt
