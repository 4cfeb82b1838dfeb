#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <cmath>

namespace dorvelix {

namespace {

constexpr const char* LeftKey = "twipsLeft";
constexpr const char* TopKey = "twipsTop";
constexpr const char* WidthKey = "twipsWidth";
constexpr const char* HeightKey = "twipsHeight";

int property(const QWidget* w, const char* key)
{
    return w->property(key).toInt();
}

bool has(const QWidget* w, const char* key)
{
    return w->property(key).isValid();
}

void set(QWidget* w, const char* key, int twips)
{
    w->setProperty(key, twips);
    applyTwips(w);
}

}  // namespace

int twipsToPixels(int twips, double dpi)
{
    return static_cast<int>(std::lround(twips * dpi / 1440.0));
}

int pixelsToTwips(int pixels, double dpi)
{
    return dpi > 0 ? static_cast<int>(std::lround(pixels * 1440.0 / dpi)) : 0;
}

double logicalDpiOf(const QWidget* widget)
{
    const QScreen* screen = widget ? widget->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 0.0;
    return dpi > 0 ? dpi : 96.0;
}

void setTwipsLeft(QWidget* w, int twips) { set(w, LeftKey, twips); }
void setTwipsTop(QWidget* w, int twips) { set(w, TopKey, twips); }
void setTwipsWidth(QWidget* w, int twips) { set(w, WidthKey, twips); }
void setTwipsHeight(QWidget* w, int twips) { set(w, HeightKey, twips); }

void setTwipsGeometry(QWidget* w, int left, int top, int width, int height)
{
    w->setProperty(LeftKey, left);
    w->setProperty(TopKey, top);
    w->setProperty(WidthKey, width);
    w->setProperty(HeightKey, height);
    applyTwips(w);
}

QRect twipsGeometry(const QWidget* w)
{
    return {property(w, LeftKey), property(w, TopKey), property(w, WidthKey), property(w, HeightKey)};
}

bool hasTwipsHeight(const QWidget* w)
{
    return has(w, HeightKey);
}

void applyTwips(QWidget* w)
{
    const double dpi = logicalDpiOf(w);
    const QRect t = twipsGeometry(w);
    const int width = has(w, WidthKey) ? twipsToPixels(t.width(), dpi) : w->sizeHint().width();
    const int height = has(w, HeightKey) ? twipsToPixels(t.height(), dpi) : w->sizeHint().height();
    w->setGeometry(twipsToPixels(t.left(), dpi), twipsToPixels(t.top(), dpi), width, height);
}

}  // namespace dorvelix
