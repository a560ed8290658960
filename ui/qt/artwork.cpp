#include "ui/qt/artwork.h"

namespace tw::qt {

const Artwork* findArtwork(const QString& key) {
  for (int i = 0; i < kArtworkCount; ++i) {
    if (key == QLatin1String(kArtwork[i].key)) return &kArtwork[i];
  }
  return nullptr;
}

QImage artworkImage(const Artwork& artwork) {
  return QImage(artwork.pixels, artwork.width, artwork.height, qsizetype{artwork.width} * 4,
                QImage::Format_ARGB32_Premultiplied);
}

}  // namespace tw::qt
