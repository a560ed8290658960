#pragma once
// The program's own pictures (tab icons, banner, splash picture, help
// picture, window icon, hand cursor), compiled in as ready-to-draw pixels:
// the build turns resources/*.png into source (resources/embed_artwork.cpp),
// so showing one decodes nothing.

#include <QImage>
#include <QString>

namespace tw::qt {

struct Artwork {
  const char* key;              // the file name in lower case, without ".png"
  int width;
  int height;
  const unsigned char* pixels;  // 32-bit premultiplied ARGB, rows packed, aligned
};

// The generated table.
extern const Artwork kArtwork[];
extern const int kArtworkCount;

// The picture of that key (lower case), or null.
const Artwork* findArtwork(const QString& key);
// The picture over the table's pixels, without a copy.
QImage artworkImage(const Artwork& artwork);

}  // namespace tw::qt
