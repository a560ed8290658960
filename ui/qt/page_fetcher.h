#pragma once
// Fetches web pages for the browser.  The network code is a module of its
// own (tw_qt_network), loaded the first time a page is fetched: the network
// stack and what it pulls in are not loaded by a program that never goes
// online, which is most runs of a tuning program.

#include <functional>

#include <QByteArray>
#include <QString>
#include <QUrl>

class QObject;

namespace tw::qt {

class PageFetcher {
 public:
  // status: the HTTP status (0 when there was none); error: empty on success.
  using Done = std::function<void(int status, const QString& error, const QByteArray& body)>;

  virtual ~PageFetcher() = default;
  // Fetches url; `done` runs from the event loop, unless `context` has been
  // destroyed by then.
  virtual void get(const QUrl& url, QObject* context, Done done) = 0;
};

// The process's fetcher, loading the module on first use; null (with the
// reason in *why) when it cannot be loaded.
PageFetcher* pageFetcher(QString* why = nullptr);

}  // namespace tw::qt

// What the module exports.
extern "C" tw::qt::PageFetcher* tw_qt_make_page_fetcher();
