#pragma once
// How the controls' properties look on screen: the platform's colours
// (including the system colours a control can name), fonts mapped onto what
// this host has installed, mouse pointers, and the twips-to-pixels rule.

#include <string>

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QPalette>
#include <QRect>

#include "ui/forms/control.h"

class QApplication;

namespace tw::qt {

class PictureStore;

// &H00BBGGRR, or a system colour (top bit set) taken from the palette.
QColor toQColor(forms::Color color, const QPalette& palette);

// The nearest installed font.  Families the host lacks fall back to the
// default sans family, narrowed so that captions laid out for the classic
// 8-point dialog font still fit their controls.
QFont toQFont(const forms::Font& font);

// The cursor for a MousePointer value; Custom takes the picture named by
// the control's MouseIcon (our hand, "Hand", when there is no such picture).
QCursor toQCursor(int mousePointer, const std::string& mouseIcon, const PictureStore& pictures);

// Twips to whole pixels, halves rounded up as the platform's MulDiv does.
int toPixels(double twips, int twipsPerPixel);
QRect toPixels(double left, double top, double width, double height, int twipsPerPixelX,
               int twipsPerPixelY);

// Text of a caption that marks its access key with '&': the marker goes,
// "&&" stays as one '&'.
QString withoutAccessMarks(const QString& caption);

// The classic look: Qt's "Windows" style (unless the user chose a style on
// the command line or through QT_STYLE_OVERRIDE), its standard palette and
// the dialog font.  The style needs no fonts; a program that reads the font
// configuration in the background sets the style at once and the font when
// that is done.
void applyClassicLook(QApplication& app, bool styleChosenByUser);
void applyClassicStyle(bool styleChosenByUser);
void applyClassicFont(QApplication& app);

}  // namespace tw::qt
