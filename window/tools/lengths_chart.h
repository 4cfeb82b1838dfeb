// The cluster length comparison's chart: one bar per file system and
// length on a logarithmic scale, the files' own bytes as a line, the
// drive's and the conversion's lengths marked under the axis.
#pragma once

#include "cluster_lengths.h"

#include <QWidget>
#include <array>

namespace dorvelix {

// The chart: each bar is a child widget of its own, named for screen
// readers with its cluster length and its bytes.
class LengthsChart : public QWidget {
public:
    explicit LengthsChart(QWidget* parent);
    // Shows a comparison (nothing before one); the drive's and the
    // conversion's lengths are marked where they are compared lengths.
    void show(const LengthsComparison* comparison, long long driveLength, long long convertLength);
    QWidget* bar(int lengthIndex, bool exfat) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeBars();
    int heightOf(long long bytes) const;

    std::array<LengthFigures, ComparedLengths> figures_{};
    long long fileBytes_ = 0;
    long long driveLength_ = 0, convertLength_ = 0;
    bool shown_ = false;
    std::array<QWidget*, 2 * ComparedLengths> bars_{};
};

}  // namespace dorvelix
