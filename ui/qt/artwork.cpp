#include "ui/qt/artwork.h"

#include <cstring>

namespace tw::qt {

const Artwork* findArtwork(const QString& key) {
  for (int i = 0; i < kArtworkCount; ++i) {
    if (key == QLatin1String(kArtwork[i].key)) return &kArtwork[i];
  }
  return nullptr;
}

QImage artworkImage(const Artwork& artwork) {
  QImage image(artwork.width, artwork.height, QImage::Format_ARGB32_Premultiplied);
  const std::size_t row = static_cast<std::size_t>(artwork.width) * 4;
  for (int y = 0; y < artwork.height; ++y) {
    std::memcpy(image.scanLine(y), artwork.pixels + row * static_cast<std::size_t>(y), row);
  }
  return image;
}

}  // namespace tw::qt
