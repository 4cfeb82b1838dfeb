#include "app_icon.h"

#include "controls.h"

#include <QPainter>
#include <QPixmap>

namespace dorvelix {

namespace {

QPixmap drawIcon(int side)
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const double u = side / 32.0;
    // The disk: a teal rounded square with a cyan rim.
    p.setPen(QPen(colors::Cyan, 1.5 * u));
    p.setBrush(colors::Teal);
    p.drawRoundedRect(QRectF(1.5 * u, 1.5 * u, 29 * u, 29 * u), 4 * u, 4 * u);
    // The usage bar: white, its used part yellow, the searched share red.
    const QRectF bar(5 * u, 18 * u, 22 * u, 8 * u);
    p.setPen(Qt::NoPen);
    p.fillRect(bar, colors::White);
    p.fillRect(QRectF(bar.left(), bar.top(), bar.width() * 0.7, bar.height()), colors::Yellow);
    p.fillRect(QRectF(bar.left() + bar.width() * 0.45, bar.top(), bar.width() * 0.25, bar.height()), colors::Red);
    // Cluster units: a row of small blocks above the bar.
    for (int i = 0; i < 4; ++i)
        p.fillRect(QRectF((5 + 6 * i) * u, 7 * u, 4 * u, 6 * u), i < 3 ? colors::White : colors::Cyan);
    return pixmap;
}

}  // namespace

QIcon applicationIcon()
{
    QIcon painted;
    for (int side : {16, 24, 32, 48, 64, 128})
        painted.addPixmap(drawIcon(side));
    return QIcon::fromTheme(ApplicationId, painted);
}

}  // namespace dorvelix
