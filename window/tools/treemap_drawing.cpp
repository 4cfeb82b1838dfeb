// The treemap's drawing: its tiles in the colours of their slack, their
// names where they fit, the focused tile's mark and the colours' legend.
#include "treemap_view.h"

#include "text.h"
#include "treemap_layout.h"
#include "ui_text.h"
#include "window_texts.h"

#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

namespace dorvelix {

namespace {

struct ColourStop {
    double at;
    QColor colour;
};

// The colours' scale from no slack to all slack: pale, orange, dark red.
const ColourStop SlackScale[] = {
    {0.0, QColor(255, 248, 210)},
    {0.5, QColor(245, 160, 70)},
    {1.0, QColor(170, 25, 35)},
};

QColor slackColour(double share)
{
    share = std::clamp(share, 0.0, 1.0);
    for (size_t i = 1; i < std::size(SlackScale); ++i) {
        if (share <= SlackScale[i].at) {
            const double t = (share - SlackScale[i - 1].at) / (SlackScale[i].at - SlackScale[i - 1].at);
            const QColor &a = SlackScale[i - 1].colour, &b = SlackScale[i].colour;
            return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                                    static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                                    static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
        }
    }
    return SlackScale[std::size(SlackScale) - 1].colour;
}

// Black names on the pale colours, white on the dark ones.
QColor labelColour(const QColor& fill)
{
    return qGray(fill.rgb()) < 140 ? QColor(Qt::white) : QColor(Qt::black);
}

constexpr int InnerTextMargin = 3;

}  // namespace

void TreemapView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    if (tiles_.empty()) {
        if (tree_) {
            p.setPen(palette().text().color());
            p.drawText(rect(), Qt::AlignCenter, uiText(tool_text::TreemapEmpty));
        }
        return;
    }
    // A tile with tiles inside shows its name in the strip above them.
    for (const Tile& t : tiles_)
        paintTile(p, t);
    for (const Tile& t : inner_)
        paintTile(p, t);
    if (focused_ >= 0 && hasFocus()) {
        // Black outside, white inside: seen on every colour of the scale.
        const QRect mark = pixelTile(tiles_[static_cast<size_t>(focused_)].area);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 3));
        p.drawRect(mark.adjusted(1, 1, -2, -2));
        p.setPen(QPen(Qt::white, 1, Qt::DashLine));
        p.drawRect(mark.adjusted(3, 3, -4, -4));
    }
    paintLegend(p);
}

void TreemapView::paintTile(QPainter& p, const Tile& tile) const
{
    const QRect r = pixelTile(tile.area);
    if (r.isEmpty())
        return;
    const QColor fill = slackColour(tile.slackShare());
    p.fillRect(r, fill);
    p.setPen(fill.darker(tile.outer < 0 ? 220 : 150));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    const QFontMetrics fm = fontMetrics();
    if (r.width() < 3 * fm.averageCharWidth() + 6 || r.height() < fm.height() + 2)
        return;
    const QString name = tile.ownFiles ? QStringLiteral(".") : displayText(tree_->name(tile.folder));
    p.setPen(labelColour(fill));
    p.drawText(r.adjusted(InnerTextMargin, 1, -InnerTextMargin, 0), Qt::AlignLeft | Qt::AlignTop,
               fm.elidedText(name, Qt::ElideMiddle, r.width() - 2 * InnerTextMargin));
}

void TreemapView::paintLegend(QPainter& p) const
{
    const QFontMetrics fm = fontMetrics();
    const QRect strip(0, height() - legendHeight(), width(), legendHeight());
    const QString caption = uiText(tool_text::TreemapLegend);
    const QString low = QStringLiteral("0 %"), high = QStringLiteral("100 %");
    p.setPen(palette().text().color());
    int x = strip.left() + 4;
    p.drawText(QRect(x, strip.top(), fm.horizontalAdvance(caption), strip.height()), Qt::AlignVCenter, caption);
    x += fm.horizontalAdvance(caption) + 8;
    p.drawText(QRect(x, strip.top(), fm.horizontalAdvance(low), strip.height()), Qt::AlignVCenter, low);
    x += fm.horizontalAdvance(low) + 4;
    const int barRight = strip.right() - 4 - fm.horizontalAdvance(high) - 4;
    if (barRight > x) {
        const QRect bar(x, strip.top() + 4, barRight - x, strip.height() - 8);
        QLinearGradient scale(bar.topLeft(), bar.topRight());
        for (const ColourStop& stop : SlackScale)
            scale.setColorAt(stop.at, stop.colour);
        p.fillRect(bar, scale);
        p.drawRect(bar.adjusted(0, 0, -1, -1));
        x = barRight + 4;
    }
    p.drawText(QRect(x, strip.top(), fm.horizontalAdvance(high), strip.height()), Qt::AlignVCenter, high);
}

}  // namespace dorvelix
