#include "ui/qt/pictures.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace tw::qt {

namespace {

// "Pictures\\Splash.PNG" -> "splash": the key of the built-in artwork.
QString resourceKey(const QString& name) {
  QString key = name;
  const qsizetype slash = std::max(key.lastIndexOf(QLatin1Char('/')), key.lastIndexOf(QLatin1Char('\\')));
  if (slash >= 0) key = key.mid(slash + 1);
  const qsizetype dot = key.lastIndexOf(QLatin1Char('.'));
  if (dot > 0) key = key.left(dot);
  return key.toLower();
}

// A PNG's size from its header: the signature, then the IHDR chunk with
// width and height as big-endian 32-bit numbers.  Asking QImageReader
// instead would load every image-format plugin the first time.
std::optional<QSize> pngSize(const QString& where) {
  QFile file(where);
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  const QByteArray head = file.read(24);
  static const QByteArray signature("\x89PNG\r\n\x1a\n", 8);
  if (head.size() < 24 || !head.startsWith(signature) || head.mid(12, 4) != "IHDR") return std::nullopt;
  auto number = [&head](int at) {
    quint32 n = 0;
    for (int i = 0; i < 4; ++i) n = (n << 8) | static_cast<quint8>(head[at + i]);
    return n;
  };
  const quint32 width = number(16), height = number(20);
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return std::nullopt;
  return QSize(static_cast<int>(width), static_cast<int>(height));
}

// The program's own picture a name stands for, in the resources compiled
// into the program (resources/artwork.qrc): "Pictures\\Splash.PNG" and
// "splash" both name the splash picture.  Empty when it names none.
QString builtIn(const QString& name) {
  if (name.startsWith(QLatin1String(":/"))) return {};
  const QString resource = QStringLiteral(":/artwork/") + resourceKey(name) + QStringLiteral(".png");
  return QFileInfo::exists(resource) ? resource : QString();
}

// Reads a picture file.  A PNG is read as one, without guessing: a reader
// left to guess loads every image-format plugin first to ask whether it
// knows the format.
QPixmap readPicture(const QString& file) {
  if (!pngSize(file)) return QPixmap(file);
  QImageReader reader(file, "png");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

}  // namespace

PictureStore::PictureStore() = default;

QString PictureStore::locate(const std::string& name) const {
  if (name.empty()) return {};
  const QString qname = QString::fromStdString(name);
  if (qname.startsWith(QLatin1String(":/"))) return QFileInfo::exists(qname) ? qname : QString();
  if (const QString resource = builtIn(qname); !resource.isEmpty()) return resource;
  // A Windows path of the machine, or a host path.
  QString host = qname;
  const bool windowsPath = qname.size() > 2 && qname[1] == QLatin1Char(':');
  if (windowsPath && translate_) host = QString::fromStdString(translate_(name));
  if (QFileInfo(host).isFile()) return host;
  return {};
}

QPixmap PictureStore::pixmap(const std::string& name) const {
  if (name.empty()) return {};
  const QString key = QString::fromStdString(name);
  if (auto it = cache_.find(key); it != cache_.end()) return it.value();
  QPixmap picture;
  if (const QString file = locate(name); !file.isEmpty()) {
    picture = readPicture(file);
  }
  cache_.insert(key, picture);
  return picture;
}

std::optional<QSize> PictureStore::size(const std::string& name) const {
  if (name.empty()) return std::nullopt;
  const QString key = QString::fromStdString(name);
  if (auto it = cache_.find(key); it != cache_.end()) {
    if (it.value().isNull()) return std::nullopt;
    return it.value().size();
  }
  // The size is in the file's header: a window that sizes itself to a
  // picture it may never show does not decode it.
  const QString where = locate(name);
  if (where.isEmpty()) return std::nullopt;
  if (auto png = pngSize(where)) return png;
  const QSize size = QImageReader(where).size();
  if (!size.isValid()) return std::nullopt;
  return size;
}

}  // namespace tw::qt
