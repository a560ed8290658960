// tw_qt_network: the browser's page fetcher on QNetworkAccessManager, loaded
// by pageFetcher() on first use.

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>

#include "ui/qt/page_fetcher.h"

namespace {

class NetworkFetcher : public tw::qt::PageFetcher {
 public:
  // A server that stops sending does not hold a page (or a download) for
  // ever: the transfer is aborted after 15 seconds without data.
  NetworkFetcher() { manager_.setTransferTimeout(15000); }

  void get(const QUrl& url, QObject* context, Done done) override {
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = manager_.get(request);
    QPointer<QObject> alive = context;
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, alive, done = std::move(done)] {
      reply->deleteLater();
      if (!alive) return;
      const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
      if (reply->error() != QNetworkReply::NoError) {
        done(status, reply->errorString(), {});
      } else {
        done(status, QString(), reply->readAll());
      }
    });
  }

 private:
  QNetworkAccessManager manager_;
};

}  // namespace

extern "C" __attribute__((visibility("default"))) tw::qt::PageFetcher* tw_qt_make_page_fetcher() {
  static NetworkFetcher* fetcher = new NetworkFetcher;
  return fetcher;
}
