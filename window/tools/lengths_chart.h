// The cluster length comparison's chart: one bar per file system and
// length on a logarithmic scale, with a value axis that says so, the files'
// own bytes as a line, the drive's and the conversion's lengths marked
// under the axis.
#pragma once

#include "cluster_lengths.h"

#include <QWidget>
#include <array>
#include <vector>

namespace dorvelix {

// A text the chart draws, where it draws it.
struct ChartLabel {
    QRect rect;
    QString text;
};

// The chart: each bar is a child widget of its own, named for screen
// readers with its cluster length and its bytes.
class LengthsChart : public QWidget {
public:
    explicit LengthsChart(QWidget* parent);
    // Shows a comparison (nothing before one); the drive's and the
    // conversion's lengths are marked where they are compared lengths.
    void show(const LengthsComparison* comparison, long long driveLength, long long convertLength);
    QWidget* bar(int lengthIndex, bool exfat) const;

    // The value axis's tick labels, bottom to top (none before a
    // comparison), and the lengths' labels under the bars, as the chart
    // lays them out at its present size: labels that would run together
    // are staggered on two rows, and skipped where even that has no room.
    std::vector<ChartLabel> valueLabels() const;
    std::vector<ChartLabel> lengthLabels() const;
    // Where the bars stand: right of the value axis, between the legend
    // with the scale's title and the lengths' labels.
    QRect plotArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeBars();
    int heightOf(long long bytes) const;
    // The logarithmic scale's ends: half the smallest figure, the largest.
    std::pair<double, double> scaleEnds() const;
    std::vector<long long> ticks() const;
    int lengthLabelRows() const;
    int axisHeight() const;
    int valueGutter() const;

    std::array<LengthFigures, ComparedLengths> figures_{};
    long long fileBytes_ = 0;
    long long driveLength_ = 0, convertLength_ = 0;
    bool shown_ = false;
    std::array<QWidget*, 2 * ComparedLengths> bars_{};
};

}  // namespace dorvelix
