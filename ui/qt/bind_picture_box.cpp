// The picture box paints what the model recorded: its background, its
// picture at the top left, then every figure in order, in the box's scale.

#include <cmath>
#include <vector>

#include <QMetaObject>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <qdrawutil.h>

#include "ui/forms/picture_box.h"
#include "ui/qt/binding.h"
#include "ui/qt/event_guard.h"
#include "ui/qt/look.h"
#include "ui/qt/pictures.h"

namespace tw::qt {

namespace {

// The 3-D border of a fixed-single box, on each side (as the model counts it).
constexpr int kBorder = 2;

class PictureBoxWidget : public QWidget {
 public:
  PictureBoxWidget(forms::PictureBox& model, const BindContext& context, QWidget* parent)
      : QWidget(parent), model_(model), context_(context) {
    // Every paint covers the whole box (its border, then its colour), so
    // what lies behind it need not be painted first: a gauge's bar is
    // repainted on every refresh.
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  QRect inner() const {
    const int border = model_.borderStyle() == 1 ? kBorder : 0;
    return rect().adjusted(border, border, -border, -border);
  }

  // A gauge's refresh clears its box and draws the bar again, mostly the
  // same bar as before.  The figures are compared once the refresh is done
  // (a queued call runs after the statements that drew them), and only a
  // box whose figures differ from those on screen is painted, inside its
  // border.
  void drawingChanged() {
    if (comparePending_) return;
    comparePending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          comparePending_ = false;
          if (model_.drawing() != painted_) update(inner());
        },
        Qt::QueuedConnection);
  }

 protected:
  void paintEvent(QPaintEvent* event) override {
    QPainter painter(this);
    if (model_.borderStyle() == 1 && !inner().contains(event->rect())) {
      qDrawWinPanel(&painter, rect(), palette(), true, nullptr);
    }
    const QRect area = inner();
    painter.setClipRect(area);
    painter.fillRect(area, toQColor(model_.backColor(), palette()));
    if (context_.pictures != nullptr && !model_.picture().empty()) {
      painter.drawPixmap(area.topLeft(), context_.pictures->pixmap(model_.picture()));
    }
    painter.translate(area.topLeft());
    const double sx = model_.pixelsPerUnitX();
    const double sy = model_.pixelsPerUnitY();
    for (const forms::DrawOp& op : model_.drawing()) paintOp(painter, op, sx, sy);
    painted_ = model_.drawing();
  }

  void mousePressEvent(QMouseEvent* event) override {
    pressed_ = event->button() == Qt::LeftButton;
    QWidget::mousePressEvent(event);
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) guarded([this] { model_.userClick(); });
  }

 private:
  void paintOp(QPainter& painter, const forms::DrawOp& op, double sx, double sy) {
    const QColor colour = toQColor(op.color, palette());
    const QPointF a(op.x1 * sx, op.y1 * sy);
    const QPointF b(op.x2 * sx, op.y2 * sy);
    switch (op.kind) {
      case forms::DrawOp::Kind::Line: {
        // The platform's wide pens have round ends; a line of no length still
        // leaves a dot of the pen's width.
        QPen pen(colour, op.width, Qt::SolidLine, op.width > 1 ? Qt::RoundCap : Qt::SquareCap);
        painter.setPen(pen);
        if (a == b) {
          painter.drawPoint(a);
        } else {
          painter.drawLine(a, b);
        }
        break;
      }
      case forms::DrawOp::Kind::Box:
        painter.setPen(QPen(colour, op.width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(a, b).normalized());
        break;
      case forms::DrawOp::Kind::FilledBox:
        painter.fillRect(QRectF(a, b).normalized().adjusted(0, 0, 1, 1), colour);
        break;
      case forms::DrawOp::Kind::Text: {
        painter.setPen(colour);
        painter.setFont(font());
        const QFontMetricsF metrics(font());
        painter.drawText(QPointF(a.x(), a.y() + metrics.ascent()), QString::fromStdString(op.text));
        break;
      }
    }
  }

  forms::PictureBox& model_;
  const BindContext& context_;
  bool pressed_ = false;
  bool comparePending_ = false;
  std::vector<forms::DrawOp> painted_;  // the figures on screen
};

class PictureBoxBinding : public Binding {
 public:
  PictureBoxBinding(forms::PictureBox& model, PictureBoxWidget* box, const BindContext& context)
      : Binding(model, box, context), box_(box) {}
  QWidget* childArea() const override { return box_; }

 protected:
  void sync(forms::Prop prop) override {
    switch (prop) {
      case forms::Prop::Drawing: box_->drawingChanged(); break;
      case forms::Prop::BackColor:
      case forms::Prop::ForeColor:
      case forms::Prop::Picture:
      case forms::Prop::Scale:
      case forms::Prop::BorderStyle:
      case forms::Prop::DrawWidth:
      case forms::Prop::AutoRedraw: box_->update(); break;
      default: Binding::sync(prop);
    }
  }

 private:
  PictureBoxWidget* box_;
};

}  // namespace

std::unique_ptr<Binding> bindPictureBox(forms::Control& control, QWidget* parent, const BindContext& context) {
  auto& model = static_cast<forms::PictureBox&>(control);
  return std::make_unique<PictureBoxBinding>(model, new PictureBoxWidget(model, context, parent), context);
}

}  // namespace tw::qt
