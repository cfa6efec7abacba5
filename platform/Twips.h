#pragma once
#include <QColor>

class QWidget;

// Window lengths of the forms are in twips: 1440 per inch, 15 per pixel at 96 dpi.
constexpr int kTwipsPerPixel = 15;
inline int TwipsPerPixelX() { return kTwipsPerPixel; }
inline int TwipsPerPixelY() { return kTwipsPerPixel; }
// Rounded to the nearest pixel (halves away from zero: a layout length, not a stored value).
int TwipsToPixels(double twips);
int PixelsToTwips(int pixels);

// Geometry of a widget in twips, relative to its parent. Without a size the present one stays;
// a width or height below zero from a layout formula ends as an empty widget, never a negative one.
void MoveTwips(QWidget *w, double left, double top);
void MoveTwips(QWidget *w, double left, double top, double width);
void MoveTwips(QWidget *w, double left, double top, double width, double height);
int LeftTwips(const QWidget *w);
int TopTwips(const QWidget *w);
int WidthTwips(const QWidget *w);
int HeightTwips(const QWidget *w);

// Colours as the forms store them: R + G*256 + B*65536 (255 red, 16777215 white).
constexpr int RGB(int r, int g, int b) { return (r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16); }
inline QColor ColorFromRgb(int v) { return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); }
inline int RgbFromColor(const QColor &c) { return RGB(c.red(), c.green(), c.blue()); }
