#include "ui/qt/look.h"

#include <cmath>

#include <QApplication>
#include <QFontDatabase>
#include <QHash>
#include <QStyle>
#include <QStyleFactory>

#include "ui/qt/pictures.h"

namespace tw::qt {

QColor toQColor(forms::Color color, const QPalette& palette) {
  if ((color & 0x80000000u) == 0) {
    return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                  static_cast<int>((color >> 16) & 0xFFu));
  }
  // The system colour indexes of the platform, mapped onto the palette roles
  // that paint the same parts of a window.
  switch (color & 0xFFu) {
    case 4: return palette.color(QPalette::Window);            // menu
    case 5: return palette.color(QPalette::Base);              // window background
    case 7: return palette.color(QPalette::WindowText);        // menu text
    case 8: return palette.color(QPalette::Text);              // window text
    case 12: return palette.color(QPalette::Dark);             // application workspace
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 15: return palette.color(QPalette::Button);           // button face
    case 16: return palette.color(QPalette::Dark);             // button shadow
    case 17: return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: return palette.color(QPalette::ButtonText);
    case 20: return palette.color(QPalette::Light);            // button highlight
    case 21: return palette.color(QPalette::Shadow);           // 3-D dark shadow
    case 22: return palette.color(QPalette::Midlight);          // 3-D light
    case 23: return palette.color(QPalette::ToolTipText);
    case 24: return palette.color(QPalette::ToolTipBase);
    default: return palette.color(QPalette::Window);
  }
}

namespace {

// Whether the host has a face of that family.  The family list is enough:
// QFontDatabase::hasFamily first runs the name through fontconfig's
// substitution rules, about a millisecond a name while the window is made.
bool installedFamily(const QString& family) {
  static const QStringList families = QFontDatabase::families();
  return families.contains(family, Qt::CaseInsensitive);
}

// The family used for every font the host does not have.
QString fallbackFamily() {
  static const QString family = [] {
    for (const char* candidate : {"DejaVu Sans", "Liberation Sans", "Nimbus Sans"}) {
      if (installedFamily(QString::fromLatin1(candidate))) return QString::fromLatin1(candidate);
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
  }();
  return family;
}

// The substitute sans faces run about a sixth wider than the classic dialog
// font (6 pixels to the average letter at 8 points); narrowing them to that
// keeps designed captions inside their controls.
constexpr int kSubstituteStretch = 83;

}  // namespace

QFont toQFont(const forms::Font& font) {
  static QHash<QString, bool> known;
  const QString family = QString::fromStdString(font.name);
  auto it = known.find(family);
  if (it == known.end()) it = known.insert(family, installedFamily(family));

  QFont f(it.value() ? family : fallbackFamily());
  if (!it.value()) f.setStretch(kSubstituteStretch);
  f.setPointSizeF(font.size > 0 ? font.size : 8.25);
  f.setBold(font.bold);
  f.setItalic(font.italic);
  f.setUnderline(font.underline);
  // Drawn as the classic windows drew their dialog fonts: fitted to the
  // pixel grid, without smoothing, and letter by letter, without the
  // ligatures and kerning of a modern face.  Each letter is then rendered
  // once instead of once for each fraction of a pixel it may start at, and
  // Latin text is laid out without the shaping engine: together half the
  // work of painting the first window.
  f.setHintingPreference(QFont::PreferFullHinting);
  f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::PreferNoShaping));
  return f;
}

QCursor toQCursor(int mousePointer, const std::string& mouseIcon, const PictureStore& pictures) {
  switch (mousePointer) {
    case 1: return QCursor(Qt::ArrowCursor);
    case 2: return QCursor(Qt::CrossCursor);
    case 3: return QCursor(Qt::IBeamCursor);
    case 5: return QCursor(Qt::SizeAllCursor);
    case 6: return QCursor(Qt::SizeBDiagCursor);
    case 7: return QCursor(Qt::SizeVerCursor);
    case 8: return QCursor(Qt::SizeFDiagCursor);
    case 9: return QCursor(Qt::SizeHorCursor);
    case 10: return QCursor(Qt::UpArrowCursor);
    case 11: return QCursor(Qt::WaitCursor);
    case 12: return QCursor(Qt::ForbiddenCursor);
    case 13: return QCursor(Qt::BusyCursor);
    case 14: return QCursor(Qt::WhatsThisCursor);
    case 15: return QCursor(Qt::SizeAllCursor);
    case forms::MousePointer::Custom: {
      QPixmap pixmap = pictures.pixmap(mouseIcon);
      if (pixmap.isNull()) pixmap = pictures.pixmap("Hand");
      if (pixmap.isNull()) return QCursor(Qt::PointingHandCursor);
      // Our cursor pictures point with their top-left quarter: the tip of
      // the finger sits a little in from the corner.
      return QCursor(pixmap, pixmap.width() / 4, 0);
    }
    default: return QCursor(Qt::ArrowCursor);
  }
}

int toPixels(double twips, int twipsPerPixel) {
  if (twipsPerPixel <= 0) twipsPerPixel = 15;
  return static_cast<int>(std::floor(twips / twipsPerPixel + 0.5));
}

QRect toPixels(double left, double top, double width, double height, int twipsPerPixelX,
               int twipsPerPixelY) {
  // Both edges are rounded, not the size, so that controls designed to touch
  // still touch.
  const int x = toPixels(left, twipsPerPixelX);
  const int y = toPixels(top, twipsPerPixelY);
  const int right = toPixels(left + width, twipsPerPixelX);
  const int bottom = toPixels(top + height, twipsPerPixelY);
  return QRect(x, y, right - x, bottom - y);
}

QString withoutAccessMarks(const QString& caption) {
  QString out;
  out.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&')) {
      if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
        out += QLatin1Char('&');
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

void applyClassicStyle(bool styleChosenByUser) {
  if (styleChosenByUser) return;
  if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows"))) {
    QApplication::setStyle(style);
    QApplication::setPalette(style->standardPalette());
  }
}

void applyClassicFont(QApplication& app) { app.setFont(toQFont(forms::Font{})); }

void applyClassicLook(QApplication& app, bool styleChosenByUser) {
  applyClassicStyle(styleChosenByUser);
  applyClassicFont(app);
}

}  // namespace tw::qt
