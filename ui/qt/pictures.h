#pragma once
// The pictures a window names (tab icons, banners, the splash picture,
// cursors): a picture is named either by one of the program's own resources
// (its artwork, by name: "Splash", "Banner", "StatusTab", "Hand" ...; case,
// folder and extension are ignored) or by a file.  Windows paths of the machine are
// translated to the host when a translation is given.

#include <functional>
#include <optional>
#include <string>

#include <QHash>
#include <QPixmap>
#include <QString>

namespace tw::qt {

class PictureStore {
 public:
  using PathTranslator = std::function<std::string(const std::string&)>;

  PictureStore();

  // How a Windows path ("C:\\...") becomes a host path.
  void setPathTranslator(PathTranslator translator) { translate_ = std::move(translator); }

  // The picture, or a null pixmap when the name is empty or names nothing.
  QPixmap pixmap(const std::string& name) const;
  std::optional<QSize> size(const std::string& name) const;

  // The file a picture name leads to (a ":/..." resource or a host file),
  // or "" when nothing is there.  The program's own pictures are resources.
  QString locate(const std::string& name) const;

 private:
  PathTranslator translate_;
  mutable QHash<QString, QPixmap> cache_;
};

}  // namespace tw::qt
