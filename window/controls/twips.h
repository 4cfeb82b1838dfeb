// Geometry in twips (1/1440 inch). Each placed widget keeps its twips
// geometry as dynamic properties, so that it can be placed again in pixels
// when the screen's resolution changes and so that tests can read what the
// layout set, whatever the display.
#pragma once

#include <QRect>

class QWidget;

namespace dorvelix {

// Pixels for a length in twips at the given logical DPI (96 DPI: 15 twips a
// pixel), rounded to the nearest pixel.
int twipsToPixels(int twips, double dpi);
int pixelsToTwips(int pixels, double dpi);

// The logical DPI the widget is shown at (its screen's, 96 without one).
double logicalDpiOf(const QWidget* widget);

// Set one edge or extent of a widget in twips and move it there in pixels.
// An extent that was never set keeps the widget's natural size in pixels.
void setTwipsLeft(QWidget* w, int twips);
void setTwipsTop(QWidget* w, int twips);
void setTwipsWidth(QWidget* w, int twips);
void setTwipsHeight(QWidget* w, int twips);
void setTwipsGeometry(QWidget* w, int left, int top, int width, int height);

// The twips geometry last set (unset parts are 0).
QRect twipsGeometry(const QWidget* w);
bool hasTwipsHeight(const QWidget* w);

// Places the widget in pixels from its twips geometry (after a DPI change).
void applyTwips(QWidget* w);

}  // namespace dorvelix
