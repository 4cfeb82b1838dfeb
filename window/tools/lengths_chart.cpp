#include "lengths_chart.h"

#include "number_format.h"
#include "text.h"
#include "tool_texts.h"
#include "ui_text.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

namespace dorvelix {

namespace {

// A length as the chart's axis shows it: 512, 1K ... 32M.
QString shortLength(long long length)
{
    if (length >= 1024 * 1024)
        return QString::number(length / (1024 * 1024)) + u'M';
    if (length >= 1024)
        return QString::number(length / 1024) + u'K';
    return QString::number(length);
}

const QColor Fat32Colour(40, 90, 200);
const QColor ExfatColour(230, 130, 30);
constexpr int LegendHeight = 18;
constexpr int LabelGap = 6;  // the least room between two labels on one row
constexpr int TickLength = 4;

// The marks' smaller font.
QFont markFont(const QFont& font)
{
    QFont small = font;
    if (small.pointSizeF() > 0)
        small.setPointSizeF(small.pointSizeF() * 0.8);
    else
        small.setPixelSize(std::max(1, small.pixelSize() * 4 / 5));
    return small;
}

// One bar: a filled rectangle, a widget of its own so that a screen reader
// finds it by its name and the keyboard reaches it. Tab enters the chart at
// its first bar and leaves it at the next; the arrows move from bar to bar.
class Bar : public QWidget {
public:
    Bar(QColor colour, QWidget* parent, bool first) : QWidget(parent), colour_(colour)
    {
        setFocusPolicy(first ? Qt::StrongFocus : Qt::ClickFocus);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), colour_);
        if (hasFocus()) {
            p.setPen(QPen(Qt::black, 1, Qt::DotLine));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    void focusInEvent(QFocusEvent* e) override
    {
        QWidget::focusInEvent(e);
        update();
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QWidget::focusOutEvent(e);
        update();
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        const int step = e->key() == Qt::Key_Right || e->key() == Qt::Key_Down ? 1
            : e->key() == Qt::Key_Left || e->key() == Qt::Key_Up           ? -1
                                                                           : 0;
        if (step == 0) {
            QWidget::keyPressEvent(e);
            return;
        }
        // The next bar shown that way, if any.
        const QList<Bar*> bars = parentWidget()->findChildren<Bar*>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = bars.indexOf(this) + step; i >= 0 && i < bars.size(); i += step) {
            if (bars[i]->isVisible()) {
                bars[i]->setFocus(Qt::OtherFocusReason);
                break;
            }
        }
    }

private:
    QColor colour_;
};

// A screen reader hears the chart as a chart and each bar as a picture
// named by its figure, rather than as unnamed fillers. Neither class
// declares its own meta-object, so both are told apart by their types.
QAccessibleInterface* chartAccessible(const QString& className, QObject* object)
{
    if (className != QLatin1String("QWidget"))
        return nullptr;
    if (auto* bar = dynamic_cast<Bar*>(object))
        return new QAccessibleWidget(bar, QAccessible::Graphic);
    if (auto* chart = dynamic_cast<LengthsChart*>(object))
        return new QAccessibleWidget(chart, QAccessible::Chart);
    return nullptr;
}

}  // namespace

LengthsChart::LengthsChart(QWidget* parent) : QWidget(parent)
{
    static const bool factoryInstalled = (QAccessible::installFactory(chartAccessible), true);
    (void)factoryInstalled;
    setObjectName(QStringLiteral("chart"));
    setAccessibleName(uiText(tool_text::LengthsChart));
    setAccessibleDescription(uiText(tool_text::LengthsScale));
    // Low enough that the window fits below the main window on a 1280×1024
    // screen without covering its figures.
    setMinimumSize(520, 160);
    for (int i = 0; i < 2 * ComparedLengths; ++i) {
        bars_[static_cast<size_t>(i)] = new Bar(i % 2 ? ExfatColour : Fat32Colour, this, i == 0);
        bars_[static_cast<size_t>(i)]->hide();
    }
}

QWidget* LengthsChart::bar(int lengthIndex, bool exfat) const
{
    return bars_[static_cast<size_t>(2 * lengthIndex + (exfat ? 1 : 0))];
}

void LengthsChart::show(const LengthsComparison* comparison, long long driveLength, long long convertLength)
{
    shown_ = comparison != nullptr;
    driveLength_ = driveLength;
    convertLength_ = convertLength;
    if (comparison) {
        figures_ = comparison->figures;
        fileBytes_ = comparison->fileBytes;
    }
    for (int i = 0; i < ComparedLengths; ++i) {
        const LengthFigures& f = figures_[static_cast<size_t>(i)];
        const std::pair<bool, std::optional<long long>> both[] = {{false, f.fat32Bytes}, {true, f.exfatBytes}};
        for (const auto& [exfat, bytes] : both) {
            QWidget* b = bar(i, exfat);
            b->setVisible(shown_ && bytes.has_value());
            if (bytes)
                b->setAccessibleName(uiText(tool_text::LengthsBar)
                                         .arg(tool_text::plainNumber(f.clusterLength),
                                              uiText(exfat ? tool_text::ExfatName : tool_text::Fat32Name),
                                              tool_text::plainNumber(*bytes)));
        }
    }
    placeBars();
    update();
}

std::pair<double, double> LengthsChart::scaleEnds() const
{
    long long low = fileBytes_ > 0 ? fileBytes_ : 1, high = 1;
    for (const LengthFigures& f : figures_) {
        high = std::max({high, f.exfatBytes, f.fat32Bytes.value_or(0)});
        low = std::min(low, std::max(1LL, f.fat32Bytes.value_or(f.exfatBytes)));
    }
    return {static_cast<double>(low) / 2, static_cast<double>(high)};
}

// Heights on a logarithmic scale from half the smallest figure shown to the
// largest: the lengths' bytes differ by orders of magnitude.
int LengthsChart::heightOf(long long bytes) const
{
    const auto [low, high] = scaleEnds();
    const double span = std::log(high) - std::log(low);
    const double share = (std::log(static_cast<double>(std::max(bytes, 1LL))) - std::log(low)) / (span > 0 ? span : 1);
    return static_cast<int>(std::clamp(share, 0.0, 1.0) * plotArea().height());
}

// The values the axis may mark: the powers of ten within the scale, or
// where it spans fewer than three of them, 1, 2 and 5 times each power
// (those too close to the one below are left unlabelled).
std::vector<long long> LengthsChart::ticks() const
{
    std::vector<long long> values;
    if (!shown_)
        return values;
    const auto [low, high] = scaleEnds();
    for (const int step : {10, 2}) {
        values.clear();
        for (long long power = 1; static_cast<double>(power) <= high; power *= 10) {
            for (const long long times : {1, 2, 5}) {
                const auto v = static_cast<double>(power * times);
                if ((times == 1 || step == 2) && v >= low && v <= high)
                    values.push_back(power * times);
            }
            if (power > std::numeric_limits<long long>::max() / 100)
                break;
        }
        if (values.size() >= 3)
            break;
    }
    return values;
}

int LengthsChart::valueGutter() const
{
    int widest = 0;
    for (const long long v : ticks())
        widest = std::max(widest, fontMetrics().horizontalAdvance(tool_text::plainNumber(v)));
    return widest + TickLength + 6;
}

QRect LengthsChart::plotArea() const
{
    const int line = fontMetrics().height();
    const int top = LegendHeight + line + line / 2;  // below the legend and the scale's title
    const int left = valueGutter();
    return QRect(left, top, std::max(1, width() - 4 - left), std::max(1, height() - axisHeight() - top));
}

namespace {

int widestLengthLabel(const QFontMetrics& metrics)
{
    int widest = 0;
    for (int i = 0; i < ComparedLengths; ++i)
        widest = std::max(widest, metrics.horizontalAdvance(shortLength(SmallestComparedLength << i)));
    return widest + LabelGap;
}

}  // namespace

int LengthsChart::lengthLabelRows() const
{
    const int slot = (width() - 4 - valueGutter()) / ComparedLengths;
    return widestLengthLabel(fontMetrics()) <= slot ? 1 : 2;
}

int LengthsChart::axisHeight() const
{
    // The lengths' rows, then the marks' row under them.
    return 2 + lengthLabelRows() * fontMetrics().height() + QFontMetrics(markFont(font())).height() + 4;
}

std::vector<ChartLabel> LengthsChart::valueLabels() const
{
    std::vector<ChartLabel> labels;
    const QRect plot = plotArea();
    const int line = fontMetrics().height();
    const int bottom = plot.top() + plot.height();
    int lastY = bottom + 2 * line;
    for (const long long v : ticks()) {
        const int y = bottom - heightOf(v);
        if (lastY - y < line + 2)
            continue;  // too close to the last label drawn
        lastY = y;
        labels.push_back({QRect(0, y - line / 2, plot.left() - TickLength - 3, line), tool_text::plainNumber(v)});
    }
    return labels;
}

std::vector<ChartLabel> LengthsChart::lengthLabels() const
{
    std::vector<ChartLabel> labels;
    const QRect plot = plotArea();
    const int slot = plot.width() / ComparedLengths;
    const int wide = widestLengthLabel(fontMetrics());
    const int rows = lengthLabelRows();
    // On two rows each row has a label every `step` lengths at most.
    const int step = rows == 1 ? 1 : std::max(1, (wide + 2 * slot - 1) / std::max(1, 2 * slot));
    std::array<int, 2> rowEnd{plot.left() - LabelGap, plot.left() - LabelGap};
    for (int i = 0; i < ComparedLengths; i += step) {
        const long long length = figures_[static_cast<size_t>(i)].clusterLength
            ? figures_[static_cast<size_t>(i)].clusterLength : SmallestComparedLength << i;
        const int row = rows == 1 ? 0 : (i / step) % 2;
        QRect r(plot.left() + i * slot + slot / 2 - wide / 2, plot.bottom() + 3 + row * fontMetrics().height(), wide,
                fontMetrics().height());
        r.moveLeft(std::clamp(r.left(), plot.left() - LabelGap, std::max(plot.left() - LabelGap, width() - wide)));
        if (r.left() < rowEnd[static_cast<size_t>(row)])
            continue;  // no room left on its row
        rowEnd[static_cast<size_t>(row)] = r.right() + 1;
        labels.push_back({r, shortLength(length)});
    }
    return labels;
}

void LengthsChart::placeBars()
{
    const QRect plot = plotArea();
    const int slot = plot.width() / ComparedLengths;
    for (int i = 0; i < ComparedLengths; ++i) {
        const LengthFigures& f = figures_[static_cast<size_t>(i)];
        const std::pair<bool, std::optional<long long>> both[] = {{false, f.fat32Bytes}, {true, f.exfatBytes}};
        for (const auto& [exfat, bytes] : both) {
            const int h = bytes ? std::max(1, heightOf(*bytes)) : 0;
            bar(i, exfat)->setGeometry(plot.left() + i * slot + 2 + (exfat ? slot / 2 - 2 : 0), plot.bottom() + 1 - h,
                                       slot / 2 - 2, h);
        }
    }
}

void LengthsChart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeBars();
}

void LengthsChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    const QRect plot = plotArea();
    const int slot = plot.width() / ComparedLengths;
    const int bottom = plot.bottom() + 1;
    // The legend, and under it the scale's title above the value axis.
    p.setPen(palette().text().color());
    int x = 4;
    for (const auto& [colour, name] : {std::pair{Fat32Colour, tool_text::Fat32Name}, {ExfatColour, tool_text::ExfatName}}) {
        p.fillRect(x, 4, 10, 10, colour);
        p.drawText(x + 14, 14, uiText(name));
        x += 70;
    }
    p.drawText(QRect(4, LegendHeight, width() - 8, fontMetrics().height()), Qt::AlignLeft | Qt::AlignVCenter,
               uiText(tool_text::LengthsScale));
    // The value axis: a line and a label at each tick, faint lines across.
    for (const ChartLabel& label : valueLabels()) {
        const int y = label.rect.center().y();
        p.setPen(palette().mid().color());
        p.drawLine(plot.left() + 1, y, plot.right(), y);
        p.setPen(palette().text().color());
        p.drawLine(plot.left() - TickLength, y, plot.left(), y);
        p.drawText(label.rect, Qt::AlignRight | Qt::AlignVCenter, label.text);
    }
    p.drawLine(plot.left(), plot.top(), plot.left(), bottom);
    p.drawLine(plot.left(), bottom, width(), bottom);
    for (const ChartLabel& label : lengthLabels())
        p.drawText(label.rect, Qt::AlignCenter, label.text);
    // The drive's and the conversion's lengths: the slot underlined and
    // named below the labels, a name moved aside to stay clear of the other.
    p.setFont(markFont(font()));
    const int markTop = bottom + 2 + lengthLabelRows() * QFontMetrics(font()).height();
    int markEnd = 0;
    for (int i = 0; i < ComparedLengths; ++i) {
        const long long length = figures_[static_cast<size_t>(i)].clusterLength
            ? figures_[static_cast<size_t>(i)].clusterLength : SmallestComparedLength << i;
        QStringList marks;
        if (length == driveLength_)
            marks << uiText(tool_text::DriveLengthMark);
        if (length == convertLength_)
            marks << uiText(tool_text::ConvertLengthMark);
        if (marks.isEmpty())
            continue;
        const QString text = marks.join(u'/');
        const int wide = p.fontMetrics().horizontalAdvance(text) + 4;
        const int left = std::clamp(plot.left() + i * slot + slot / 2 - wide / 2, markEnd, std::max(markEnd, width() - wide));
        p.drawText(QRect(left, markTop, wide, p.fontMetrics().height()), Qt::AlignCenter, text);
        markEnd = left + wide + LabelGap;
        p.fillRect(plot.left() + i * slot, bottom - 1, slot, 3, palette().highlight());
    }
    p.setFont(font());
    if (!shown_)
        return;
    // The files' own bytes, named in the legend (the bars may cover the line).
    const int y = bottom - heightOf(fileBytes_);
    p.drawText(x + 24, 14, uiText(tool_text::FileBytesLine));
    p.setPen(QPen(Qt::red, 1, Qt::DashLine));
    p.drawLine(x, 9, x + 20, 9);
    p.drawLine(plot.left() + 1, y, width(), y);
}

}  // namespace dorvelix
