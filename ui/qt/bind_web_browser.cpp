// The web browser: local pages (a Windows path of the machine, a host path or
// a file: address) are shown by QTextBrowser; http pages are fetched with
// the page fetcher.  Navigation finishes after Navigate has returned,
// as a browser's does: NavigateComplete2 or NavigateError comes from the
// event loop.  http pages come through the page fetcher, whose network
// module is loaded on the first such page.  A link the user follows goes through the model first, so its
// BeforeNavigate2 can stop it.

#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

#include "ui/forms/web_browser.h"
#include "ui/qt/binding.h"
#include "ui/qt/event_guard.h"
#include "ui/qt/page_fetcher.h"

namespace tw::qt {

namespace {

bool isWebAddress(const QString& address) {
  return address.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
         address.startsWith(QLatin1String("https://"), Qt::CaseInsensitive);
}

// Pages are written by people: a missing page or a network failure shows a
// short page of our own unless the program's NavigateError handler took over.
QString errorPage(const QString& address, const QString& reason) {
  return QStringLiteral("<html><body><h3>The page cannot be displayed</h3><p>%1</p><p>%2</p></body></html>")
      .arg(address.toHtmlEscaped(), reason.toHtmlEscaped());
}

class WebBrowserBinding : public Binding {
 public:
  WebBrowserBinding(forms::WebBrowser& model, QTextBrowser* browser, const BindContext& context)
      : Binding(model, browser, context), model_(model), browser_(browser) {
    browser_->setOpenLinks(false);
    browser_->setOpenExternalLinks(false);
    QObject::connect(browser_, &QTextBrowser::anchorClicked, browser_, [this](const QUrl& url) {
      if (url.scheme() == QLatin1String("mailto")) {
        QDesktopServices::openUrl(url);
        return;
      }
      const QUrl target = url.isRelative() ? base_.resolved(url) : url;
      guarded([this, &target] { model_.userNavigate(addressForModel(target)); });
    });
  }

 protected:
  void sync(forms::Prop prop) override {
    if (prop == forms::Prop::Navigation) {
      startNavigation();
      return;
    }
    Binding::sync(prop);
    if (prop == forms::Prop::Font) {
      // Pages are set in a reading font, not in the narrowed dialog font of
      // the window's controls.
      QFont reading = browser_->font();
      reading.setStretch(QFont::Unstretched);
      reading.setPointSizeF(9);
      browser_->document()->setDefaultFont(reading);
    }
  }

 protected:
  // A browser made while a navigation was under way (its window hidden
  // until now) loads that page.
  void syncOwn() override {
    if (model_.busy()) startNavigation();
  }

 private:
  // The address the program sees: a local page as the Windows path it named.
  std::string addressForModel(const QUrl& url) const {
    if (url.isLocalFile() && context().toWindowsPath) {
      return context().toWindowsPath(url.toLocalFile().toStdString());
    }
    return url.toString().toStdString();
  }

  void startNavigation() {
    const std::string address = model_.pendingURL();
    if (address.empty()) return;
    const QString qaddress = QString::fromStdString(address);
    const int generation = ++generation_;
    if (isWebAddress(qaddress)) {
      fetch(address, QUrl(qaddress), generation);
      return;
    }
    QString path = qaddress;
    if (qaddress.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
      path = QUrl(qaddress).toLocalFile();
    } else if (qaddress.size() > 2 && qaddress[1] == QLatin1Char(':') && context().toHostPath) {
      path = QString::fromStdString(context().toHostPath(address));
    }
    QPointer<QTextBrowser> browser = browser_;
    QTimer::singleShot(0, browser_, [this, browser, address, path, generation] {
      if (!browser || generation != generation_) return;  // a later navigation replaced it
      if (!QFileInfo(path).isFile()) {
        fail(address, 404, QStringLiteral("The file was not found."));
        return;
      }
      base_ = QUrl::fromLocalFile(path);
      browser_->setSource(base_);
      guarded([this, &address] { model_.navigationCompleted(address); });
    });
  }

  void fetch(const std::string& address, const QUrl& url, int generation) {
    QString why;
    PageFetcher* fetcher = pageFetcher(&why);
    if (fetcher == nullptr) {
      QTimer::singleShot(0, browser_, [this, address, why, generation] {
        if (generation == generation_) fail(address, 0, QStringLiteral("No network access: ") + why);
      });
      return;
    }
    fetcher->get(url, browser_, [this, address, url, generation](int status, const QString& error,
                                                                const QByteArray& body) {
      if (generation != generation_) return;
      if (!error.isEmpty()) {
        fail(address, status, error);
        return;
      }
      base_ = url;
      browser_->setHtml(QString::fromUtf8(body));
      guarded([this, &address] { model_.navigationCompleted(address); });
    });
  }

  void fail(const std::string& address, int status, const QString& reason) {
    const int generation = generation_;
    bool cancelled = false;
    guarded([&] { cancelled = model_.navigationFailed(address, status); });
    // The handler may have started another navigation: that page stays.
    if (!cancelled && generation == generation_) {
      browser_->setHtml(errorPage(QString::fromStdString(address), reason));
    }
  }

  forms::WebBrowser& model_;
  QTextBrowser* browser_;
  QUrl base_;
  int generation_ = 0;
};

}  // namespace

std::unique_ptr<Binding> bindWebBrowser(forms::Control& control, QWidget* parent, const BindContext& context) {
  auto& model = static_cast<forms::WebBrowser&>(control);
  return std::make_unique<WebBrowserBinding>(model, new QTextBrowser(parent), context);
}

}  // namespace tw::qt
