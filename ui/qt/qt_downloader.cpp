#include "ui/qt/qt_downloader.h"

#include <memory>

#include <QEventLoop>
#include <QTimer>
#include <QUrl>

#include "ui/qt/page_fetcher.h"

namespace tw::qt {

forms::Download QtDownloader::get(const std::string& url, std::chrono::milliseconds limit) {
  forms::Download out;
  QString why;
  PageFetcher* fetcher = pageFetcher(&why);
  if (fetcher == nullptr) {
    out.error = "no network access: " + why.toStdString();
    return out;
  }
  QEventLoop loop;
  bool finished = false;
  // The reply's answer reaches this call only while it waits: once the
  // context is gone, a late answer is dropped.
  auto context = std::make_unique<QObject>();
  fetcher->get(QUrl(QString::fromStdString(url)), context.get(),
               [&](int status, const QString& error, const QByteArray& body) {
                 finished = true;
                 out.status = status;
                 // A server's error status is an answer: the control says which.
                 if (error.isEmpty() || status >= 300) {
                   out.outcome = forms::Download::Outcome::Done;
                   out.body.assign(body.constData(), static_cast<size_t>(body.size()));
                 } else {
                   out.error = error.toStdString();
                 }
                 loop.quit();
               });
  QTimer deadline;
  deadline.setSingleShot(true);
  QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
  deadline.start(limit);
  if (!finished) loop.exec(QEventLoop::ExcludeUserInputEvents);
  if (!finished) {
    out.outcome = forms::Download::Outcome::TimedOut;
    out.error = "no answer within " + std::to_string(limit.count()) + " ms";
  }
  return out;
}

}  // namespace tw::qt
