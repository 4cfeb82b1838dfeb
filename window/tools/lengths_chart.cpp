#include "lengths_chart.h"

#include "number_format.h"
#include "text.h"
#include "tool_texts.h"
#include "ui_text.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

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
constexpr int AxisHeight = 34;  // the lengths and marks under the bars
constexpr int LegendHeight = 18;

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

}  // namespace

LengthsChart::LengthsChart(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chart"));
    setAccessibleName(uiText(tool_text::LengthsChart));
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

// Heights on a logarithmic scale from the smallest figure shown to the
// largest: the lengths' bytes differ by orders of magnitude.
int LengthsChart::heightOf(long long bytes) const
{
    long long low = fileBytes_ > 0 ? fileBytes_ : 1, high = 1;
    for (const LengthFigures& f : figures_) {
        high = std::max({high, f.exfatBytes, f.fat32Bytes.value_or(0)});
        low = std::min(low, std::max(1LL, f.fat32Bytes.value_or(f.exfatBytes)));
    }
    const double span = std::log(static_cast<double>(high)) - std::log(static_cast<double>(low) / 2);
    const double share = (std::log(static_cast<double>(std::max(bytes, 1LL))) - std::log(static_cast<double>(low) / 2))
        / (span > 0 ? span : 1);
    return static_cast<int>(std::clamp(share, 0.0, 1.0) * (height() - AxisHeight - LegendHeight));
}

void LengthsChart::placeBars()
{
    const int slot = width() / ComparedLengths;
    const int bottom = height() - AxisHeight;
    for (int i = 0; i < ComparedLengths; ++i) {
        const LengthFigures& f = figures_[static_cast<size_t>(i)];
        const std::pair<bool, std::optional<long long>> both[] = {{false, f.fat32Bytes}, {true, f.exfatBytes}};
        for (const auto& [exfat, bytes] : both) {
            const int h = bytes ? std::max(1, heightOf(*bytes)) : 0;
            bar(i, exfat)->setGeometry(i * slot + 2 + (exfat ? slot / 2 - 2 : 0), bottom - h, slot / 2 - 2, h);
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
    const int slot = width() / ComparedLengths;
    const int bottom = height() - AxisHeight;
    p.setPen(palette().text().color());
    p.drawLine(0, bottom, width(), bottom);
    // The legend.
    int x = 4;
    for (const auto& [colour, name] : {std::pair{Fat32Colour, tool_text::Fat32Name}, {ExfatColour, tool_text::ExfatName}}) {
        p.fillRect(x, 4, 10, 10, colour);
        p.drawText(x + 14, 14, uiText(name));
        x += 70;
    }
    for (int i = 0; i < ComparedLengths; ++i) {
        const long long length = figures_[static_cast<size_t>(i)].clusterLength
            ? figures_[static_cast<size_t>(i)].clusterLength : SmallestComparedLength << i;
        const QRect label(i * slot, bottom + 2, slot, 14);
        p.drawText(label, Qt::AlignCenter, shortLength(length));
        QStringList marks;
        if (length == driveLength_)
            marks << uiText(tool_text::DriveLengthMark);
        if (length == convertLength_)
            marks << uiText(tool_text::ConvertLengthMark);
        if (!marks.isEmpty()) {
            QFont small = p.font();
            small.setPointSizeF(small.pointSizeF() * 0.8);
            p.save();
            p.setFont(small);
            p.drawText(QRect(i * slot - slot / 2, bottom + 16, 2 * slot, 16), Qt::AlignCenter, marks.join(u'/'));
            p.restore();
            p.fillRect(i * slot, bottom - 1, slot, 3, palette().highlight());
        }
    }
    if (!shown_)
        return;
    // The files' own bytes, named in the legend (the bars may cover the line).
    const int y = bottom - heightOf(fileBytes_);
    p.drawText(x + 24, 14, uiText(tool_text::FileBytesLine));
    p.setPen(QPen(Qt::red, 1, Qt::DashLine));
    p.drawLine(x, 9, x + 20, 9);
    p.drawLine(0, y, width(), y);
}

}  // namespace dorvelix
