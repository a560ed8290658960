#include "ui/qt/page_fetcher.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

namespace tw::qt {

namespace {

// The module lies beside the program that uses it when installed; a
// program run from the build tree finds it where the build made it.
QString moduleFile() {
  const QString name = QStringLiteral("libtw_qt_network.so");
  const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
  if (QFileInfo::exists(beside)) return beside;
  return QStringLiteral(TW_QT_MODULE_DIR "/") + name;
}

}  // namespace

PageFetcher* pageFetcher(QString* why) {
  static PageFetcher* fetcher = nullptr;
  static QString failure;
  static bool tried = false;
  if (!tried) {
    tried = true;
    QLibrary module(moduleFile());
    auto make = reinterpret_cast<decltype(&tw_qt_make_page_fetcher)>(module.resolve("tw_qt_make_page_fetcher"));
    if (make != nullptr) {
      fetcher = make();  // the module stays loaded for the process's life
    } else {
      failure = module.errorString();
    }
  }
  if (fetcher == nullptr && why != nullptr) *why = failure;
  return fetcher;
}

}  // namespace tw::qt
