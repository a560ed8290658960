#include "ui/qt/form_window.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include "ui/qt/event_guard.h"
#include "ui/qt/look.h"
#include "ui/qt/pictures.h"

namespace tw::qt {

FormWindow::FormWindow(forms::Form& form, const PictureStore* pictures, Options options, QWidget* parent)
    : QWidget(parent, options.frameless ? Qt::SplashScreen | Qt::FramelessWindowHint : Qt::Window),
      form_(form),
      options_(std::move(options)) {
  context_.pictures = pictures;
  context_.twipsPerPixelX = form_.environment().twipsPerPixelX();
  context_.twipsPerPixelY = form_.environment().twipsPerPixelY();
  context_.toHostPath = options_.toHostPath;
  context_.toWindowsPath = options_.toWindowsPath;
  if (!options_.frameless) {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
  }
  setAttribute(Qt::WA_Hover);
  byWidget_[this] = &form_;
  if (form_.visible()) ensureBuilt();
  token_ = form_.PropertyChanged.connect([this](forms::Prop prop) { syncForm(prop); });
  for (forms::Prop prop : {forms::Prop::Caption, forms::Prop::Font, forms::Prop::Geometry,
                           forms::Prop::MousePointer, forms::Prop::TopMost, forms::Prop::Visible}) {
    syncForm(prop);
  }
  qApp->installEventFilter(this);
}

FormWindow::~FormWindow() {
  qApp->removeEventFilter(this);
  form_.PropertyChanged.disconnect(token_);
  for (auto& [container, pending] : pending_) {
    const_cast<forms::Control*>(container)->PropertyChanged.disconnect(pending.token);
  }
  // The bindings let go of their models before the widgets go with the
  // window.
  bindings_.clear();
}

void FormWindow::ensureBuilt() {
  if (built_) return;
  built_ = true;
  build(form_.controls());
}

void FormWindow::build(const std::vector<forms::Control*>& controls) {
  for (forms::Control* control : controls) {
    forms::Container* container = control->container();
    if (container != nullptr && container != &form_) {
      auto waiting = waitsFor_.find(container);
      const forms::Control* deferredBy = waiting != waitsFor_.end() ? waiting->second : nullptr;
      if (deferredBy == nullptr && pending_.count(container) != 0) deferredBy = container;
      if (deferredBy != nullptr) {
        // Its container waits: so does it, in the same queue, so that the
        // widgets are made in the form's order.
        pending_[deferredBy].controls.push_back(control);
        waitsFor_[control] = deferredBy;
        continue;
      }
    }
    QWidget* parent = this;
    if (container != nullptr && container != &form_) {
      auto it = byControl_.find(container);
      if (it != byControl_.end() && it->second->childArea() != nullptr) parent = it->second->childArea();
    }
    std::unique_ptr<Binding> binding = makeBinding(*control, parent, context_);
    if (!binding) continue;
    byControl_[control] = binding.get();
    byWidget_[binding->widget()] = control;
    const bool defers = binding->childArea() != nullptr && !control->visible();
    bindings_.push_back(std::move(binding));
    if (defers) {
      Pending& pending = pending_[control];
      pending.token = control->PropertyChanged.connect([this, control](forms::Prop prop) {
        if (prop == forms::Prop::Visible && control->visible()) buildPending(control);
      });
    }
  }
}

void FormWindow::buildPending(const forms::Control* container) {
  auto it = pending_.find(container);
  if (it == pending_.end()) return;
  std::vector<forms::Control*> controls = std::move(it->second.controls);
  // Disconnected after the raise that is running now: the event allows it.
  const_cast<forms::Control*>(container)->PropertyChanged.disconnect(it->second.token);
  pending_.erase(it);
  for (forms::Control* c : controls) waitsFor_.erase(c);
  build(controls);
}

QWidget* FormWindow::widgetFor(const forms::Control& control) const {
  if (&control == &form_) return const_cast<FormWindow*>(this);
  // A widget still waiting for its hidden container is made now, with the
  // rest of that container.
  auto self = const_cast<FormWindow*>(this);
  self->ensureBuilt();
  for (auto waiting = waitsFor_.find(&control); waiting != waitsFor_.end(); waiting = waitsFor_.find(&control)) {
    self->buildPending(waiting->second);
  }
  auto it = byControl_.find(&control);
  return it != byControl_.end() ? it->second->widget() : nullptr;
}

forms::Control* FormWindow::controlAt(const QWidget* widget) const {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    auto it = byWidget_.find(w);
    if (it != byWidget_.end()) return it->second;
    if (w == this) break;
  }
  return nullptr;
}

QSize FormWindow::clientSize() const {
  const int tppX = context_.twipsPerPixelX;
  const int tppY = context_.twipsPerPixelY;
  if (form_.width() > 0 && form_.height() > 0) {
    return QSize(toPixels(form_.width(), tppX), toPixels(form_.height(), tppY));
  }
  // A form without a designed size is as large as what it holds.
  QRect bounds;
  for (const forms::Control* c : form_.children()) {
    bounds |= toPixels(c->left(), c->top(), c->width(), c->height(), tppX, tppY);
  }
  return QSize(std::max(bounds.right() + 1, 1), std::max(bounds.bottom() + 1, 1));
}

void FormWindow::syncForm(forms::Prop prop) {
  switch (prop) {
    case forms::Prop::Caption: setWindowTitle(QString::fromStdString(form_.caption())); break;
    case forms::Prop::Geometry: setFixedSize(clientSize()); break;
    case forms::Prop::Font: setFont(toQFont(form_.font())); break;
    case forms::Prop::MousePointer:
      if (form_.mousePointer() == forms::MousePointer::Default || context_.pictures == nullptr) {
        unsetCursor();
      } else {
        setCursor(toQCursor(form_.mousePointer(), form_.mouseIcon(), *context_.pictures));
      }
      break;
    case forms::Prop::TopMost: {
      const bool wasVisible = isVisible();
      setWindowFlag(Qt::WindowStaysOnTopHint, form_.topMost());
      // Changing a window's flags hides it; keeping it on top keeps it shown.
      if (wasVisible) show();
      break;
    }
    case forms::Prop::WindowState: {
      const Qt::WindowStates state = form_.windowState() == forms::WindowState::Minimized   ? Qt::WindowMinimized
                                     : form_.windowState() == forms::WindowState::Maximized ? Qt::WindowMaximized
                                                                                             : Qt::WindowNoState;
      setWindowState(state);
      break;
    }
    case forms::Prop::Visible:
    case forms::Prop::Loaded:
      if (form_.loaded() && form_.visible()) {
        ensureBuilt();
        syncForm(forms::Prop::WindowState);
        show();
      } else {
        hide();
      }
      break;
    default: break;
  }
}

void FormWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (placed_) return;
  placed_ = true;
  // The window opens in the middle of the screen.
  if (const QScreen* screen = this->screen()) {
    const QRect available = screen->availableGeometry();
    QRect frame = frameGeometry();
    frame.moveCenter(available.center());
    move(std::max(frame.left(), available.left()), std::max(frame.top(), available.top()));
  }
}

void FormWindow::closeEvent(QCloseEvent* event) {
  if (!form_.loaded()) {
    event->accept();
    return;
  }
  bool unloaded = false;
  guarded([&] { unloaded = form_.userClose(); });
  if (unloaded || !form_.loaded()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void FormWindow::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  const bool escape = event->key() == Qt::Key_Escape;
  if ((enter || escape) && event->modifiers() == Qt::NoModifier) {
    bool taken = false;
    guarded([&] { taken = form_.userKey(enter ? forms::Key::Enter : forms::Key::Escape); });
    if (taken) {
      event->accept();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::MouseMove || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget->window() != this) return false;
  auto* move = static_cast<QMouseEvent*>(event);
  // Qt offers the move to the widget under the pointer and then to each of
  // its parents in turn: the first offer is the one that counts.
  const auto stamp = static_cast<qint64>(move->timestamp());
  if (stamp == lastMoveStamp_ && move->globalPosition() == lastMoveAt_) return false;
  lastMoveStamp_ = stamp;
  lastMoveAt_ = move->globalPosition();
  deliverMouseMove(widget, move->globalPosition(), move->buttons(), move->modifiers());
  return false;
}

void FormWindow::deliverMouseMove(QWidget* target, const QPointF& globalPosition, Qt::MouseButtons buttons,
                                  Qt::KeyboardModifiers modifiers) {
  forms::Control* control = controlAt(target);
  if (control == nullptr) return;
  QWidget* controlWidget = widgetFor(*control);
  const QPointF at = controlWidget->mapFromGlobal(globalPosition);
  int button = forms::MouseButton::None;
  if (buttons & Qt::LeftButton) button |= forms::MouseButton::Left;
  if (buttons & Qt::RightButton) button |= forms::MouseButton::Right;
  if (buttons & Qt::MiddleButton) button |= forms::MouseButton::Middle;
  int shift = forms::ShiftMask::None;
  if (modifiers & Qt::ShiftModifier) shift |= forms::ShiftMask::Shift;
  if (modifiers & Qt::ControlModifier) shift |= forms::ShiftMask::Ctrl;
  if (modifiers & Qt::AltModifier) shift |= forms::ShiftMask::Alt;
  const double x = at.x() * context_.twipsPerPixelX;
  const double y = at.y() * context_.twipsPerPixelY;
  guarded([&] { control->userMouseMove(button, shift, x, y); });
}

}  // namespace tw::qt
