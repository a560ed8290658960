#include "ui/qt/qt_environment.h"

#include <cmath>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

#include "ui/forms/timer.h"
#include "ui/qt/event_guard.h"
#include "ui/qt/pictures.h"

namespace tw::qt {

QtEnvironment::QtEnvironment(const PictureStore* pictures) : pictures_(pictures) {
  // 1440 twips to the logical inch: 15 at the classic 96 dots per inch.
  if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    if (const QScreen* screen = app->primaryScreen()) {
      const double dpi = screen->logicalDotsPerInch();
      if (dpi >= 48 && dpi <= 480) twipsPerPixel_ = static_cast<int>(std::lround(1440.0 / dpi));
    }
  }
}

QtEnvironment::~QtEnvironment() {
  for (auto& [timer, qtimer] : timers_) delete qtimer;
}

void QtEnvironment::doEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEnvironment::startTimer(forms::Timer& timer, int intervalMs) {
  QTimer*& qtimer = timers_[&timer];
  if (qtimer == nullptr) {
    qtimer = new QTimer;
    qtimer->setTimerType(Qt::CoarseTimer);
    forms::Timer* model = &timer;
    QObject::connect(qtimer, &QTimer::timeout, qtimer, [model] { guarded([model] { model->tick(); }); });
  }
  qtimer->start(intervalMs);  // restarts the countdown from zero
}

void QtEnvironment::stopTimer(forms::Timer& timer) {
  auto it = timers_.find(&timer);
  if (it == timers_.end()) return;
  // The tick handler that stops its own timer is still running inside the
  // QTimer's signal: the object goes when control is back in the loop.
  it->second->stop();
  it->second->deleteLater();
  timers_.erase(it);
}

bool QtEnvironment::running(const forms::Timer& timer) const {
  auto it = timers_.find(&timer);
  return it != timers_.end() && it->second->isActive();
}

std::optional<int> QtEnvironment::intervalOf(const forms::Timer& timer) const {
  auto it = timers_.find(&timer);
  if (it == timers_.end()) return std::nullopt;
  return it->second->interval();
}

std::optional<forms::PictureSize> QtEnvironment::pictureSize(const std::string& picture) const {
  if (pictures_ == nullptr) return std::nullopt;
  auto size = pictures_->size(picture);
  if (!size) return std::nullopt;
  return forms::PictureSize{size->width(), size->height()};
}

}  // namespace tw::qt
