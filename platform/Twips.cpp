#include "platform/Twips.h"
#include <QWidget>
#include <cmath>

int TwipsToPixels(double twips) { return int(std::lround(twips / kTwipsPerPixel)); }
int PixelsToTwips(int pixels) { return pixels * kTwipsPerPixel; }

void MoveTwips(QWidget *w, double left, double top)
{
    if (w)
        w->move(TwipsToPixels(left), TwipsToPixels(top));
}

void MoveTwips(QWidget *w, double left, double top, double width)
{
    if (w)
        w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), std::max(0, TwipsToPixels(width)), w->height());
}

void MoveTwips(QWidget *w, double left, double top, double width, double height)
{
    if (w)
        w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), std::max(0, TwipsToPixels(width)), std::max(0, TwipsToPixels(height)));
}

int LeftTwips(const QWidget *w) { return w ? PixelsToTwips(w->geometry().x()) : 0; }
int TopTwips(const QWidget *w) { return w ? PixelsToTwips(w->geometry().y()) : 0; }
int WidthTwips(const QWidget *w) { return w ? PixelsToTwips(w->width()) : 0; }
int HeightTwips(const QWidget *w) { return w ? PixelsToTwips(w->height()) : 0; }
