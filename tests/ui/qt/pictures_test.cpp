// Pictures by name: the size a window takes from a file's header must be the
// size of the picture it later shows, whatever the file holds.

#include <QImage>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "tests/ui/qt/qt_app.h"
#include "ui/qt/pictures.h"

namespace tw::qt {
namespace {

TEST(Pictures, HeaderSizeIsTheDecodedSize) {
  test::qtApp();
  test::TempDir dir;
  // Wider than 255 and taller than 255 pixels, so that both bytes of each
  // number count; one PNG and one picture of another format.
  QImage picture(300, 260, QImage::Format_RGB32);
  picture.fill(Qt::red);
  ASSERT_TRUE(picture.save(QString::fromStdString((dir / "wide.png").string()), "PNG"));
  ASSERT_TRUE(picture.save(QString::fromStdString((dir / "wide.bmp").string()), "BMP"));

  PictureStore pictures;
  for (const char* name : {"wide.png", "wide.bmp"}) {
    const std::string file = (dir / name).string();
    const std::optional<QSize> size = PictureStore().size(file);
    ASSERT_TRUE(size) << name;
    EXPECT_EQ(*size, QSize(300, 260)) << name;
    EXPECT_EQ(pictures.pixmap(file).size(), QSize(300, 260)) << name;
  }
  for (const char* name : {"Splash", "Banner", "Hand"}) {
    ASSERT_TRUE(PictureStore().size(name)) << name;
    EXPECT_EQ(*PictureStore().size(name), pictures.pixmap(name).size()) << name;
  }
}

TEST(Pictures, ADamagedFileShowsNothing) {
  test::qtApp();
  test::TempDir dir;
  // A PNG signature with the header cut short, and a file that only carries
  // the name.
  test::writeFile(dir / "cut.png", std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0", 18));
  test::writeFile(dir / "text.png", "not a picture");
  PictureStore pictures;
  for (const char* name : {"cut.png", "text.png"}) {
    const std::string file = (dir / name).string();
    EXPECT_FALSE(pictures.size(file)) << name;
    EXPECT_TRUE(pictures.pixmap(file).isNull()) << name;
  }
}

}  // namespace
}  // namespace tw::qt
