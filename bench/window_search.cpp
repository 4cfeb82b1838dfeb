// The window's search measured as a user sees it: MainWindow opened as the program
// opens it, a folder searched the way a double-click in the folder list starts it, and
// meanwhile a timer asking for a repaint every 16 ms (standing in for a
// desktop that wants the exposed window drawn). It prints the longest gap
// between two paints of the window during the search, the window's peak
// memory during the search (resident, the whole process), and the search's
// time against dorvelix-report's on the same folder (alternating runs,
// medians).
//
//   dorvelix-bench-window REPORT FOLDER [RUNS]
//
// Run it under QT_QPA_PLATFORM=offscreen or an X server such as Xvfb.
#include "main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Records when the window is painted.
class PaintClock : public QObject {
public:
    PaintClock(QWidget* window, const QElapsedTimer& clock) : window_(window), clock_(clock) {}
    std::vector<qint64> paints;  // nanoseconds on clock

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Paint)
            paints.push_back(clock_.nsecsElapsed());
        return false;
    }

private:
    QWidget* window_;
    const QElapsedTimer& clock_;
};

// The process's resident memory now, the part of it that maps files (the
// libraries and fonts, shared with other programs), and its peak since the
// last resetPeak(), in KiB; 0 where the system does not tell.
struct Resident {
    long now = 0;
    long files = 0;
    long peak = 0;
};

Resident resident()
{
    Resident r;
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmRSS:"))
            r.now = std::stol(line.substr(6));
        else if (line.starts_with("RssFile:"))
            r.files = std::stol(line.substr(8));
        else if (line.starts_with("VmHWM:"))
            r.peak = std::stol(line.substr(6));
    }
    return r;
}

// Starts the peak over from the memory resident now.
void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

qint64 median(std::vector<qint64> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[(v.size() - 1) / 2];
}

// One run of the report on folder, in nanoseconds; -1 when it could not run.
qint64 reportRun(const QString& report, const QString& folder)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    process.start(report, {folder});
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return t.nsecsElapsed();
}

}  // namespace

// Opens folder as a double-click does and lets the window run until its
// search has ended.
static void openAndWait(dorvelix::MainWindow& form, const std::string& folder)
{
    form.session().openFolder(folder);
    while (form.session().isSearching())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.size() < 2) {
        std::fputs("usage: dorvelix-bench-window REPORT FOLDER [RUNS]\n", stderr);
        return 2;
    }
    // Absolute, as the window leaves its working folder once started.
    const QString report = QFileInfo(args[0]).absoluteFilePath();
    const QString searched = QFileInfo(args[1]).absoluteFilePath();
    const std::string folder = searched.toStdString();
    const int runs = args.size() > 2 ? std::max(1, args[2].toInt()) : 5;

    dorvelix::MainWindow form;
    form.load();
    form.show();
    int messages = 0;
    form.services().onMessageBox = [&](const QString&, const QString&) { ++messages; };
    // Let the window appear and settle before anything is timed.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QApplication::processEvents();
    // Each run starts from an empty folder, so that assigning the one
    // searched is a change and the search before it costs nothing.
    const QTemporaryDir empty;
    if (!empty.isValid()) {
        std::fputs("dorvelix-bench-window: cannot make a temporary folder\n", stderr);
        return 1;
    }

    QElapsedTimer clock;
    clock.start();
    PaintClock paints(&form, clock);
    app.installEventFilter(&paints);
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, &form, [&form] { form.update(); });
    repaint.start(16);

    reportRun(report, searched);  // warm the cache for both
    std::vector<qint64> windowTimes, reportTimes, gaps;
    long peakKiB = 0;
    for (int i = 0; i < runs; ++i) {
        // Alternate who goes first, so that none always finds the other's cache.
        if (i % 2 == 1)
            reportTimes.push_back(reportRun(report, searched));
        openAndWait(form, empty.path().toStdString());
        QApplication::processEvents();
        paints.paints.clear();
        messages = 0;
        const Resident before = resident();
        resetPeak();
        const qint64 start = clock.nsecsElapsed();
        openAndWait(form, folder);
        const qint64 end = clock.nsecsElapsed();
        const long peak = resident().peak;
        peakKiB = std::max(peakKiB, peak);
        windowTimes.push_back(end - start);
        qint64 longest = 0, last = start;
        for (const qint64 p : paints.paints) {
            if (p >= start && p <= end) {
                longest = std::max(longest, p - last);
                last = p;
            }
        }
        longest = std::max(longest, end - last);
        gaps.push_back(longest);
        std::printf("run %d: window search %.0f ms, %zu paints, longest gap between paints %.1f ms, %d messages, "
                    "memory %.1f MB before (%.1f MB of it mapped files), %.1f MB at the peak\n",
                    i + 1, double(end - start) / 1e6, paints.paints.size(), double(longest) / 1e6, messages,
                    double(before.now) * 1024 / 1e6, double(before.files) * 1024 / 1e6, double(peak) * 1024 / 1e6);
        if (i % 2 == 0)
            reportTimes.push_back(reportRun(report, searched));
    }
    // Each window run is compared with the report run next to it, so that
    // the load of other programs, which changes over a benchmark, weighs
    // on both sides of a ratio alike; the ratio is the median of those.
    std::vector<qint64> ratios;  // in thousandths
    for (int i = 0; i < runs; ++i)
        ratios.push_back(reportTimes[i] > 0 ? windowTimes[i] * 1000 / reportTimes[i] : 0);
    const qint64 w = median(windowTimes), r = median(reportTimes);
    const qint64 worst = *std::max_element(gaps.begin(), gaps.end());
    std::printf("longest gap between paints during the search: %.1f ms (goal: <= 100)\n", double(worst) / 1e6);
    std::printf("peak memory of the window during the search: %.1f MB (goal: < 50)\n", double(peakKiB) * 1024 / 1e6);
    std::printf("median: window search %.0f ms, dorvelix-report %.0f ms; ratio (window / report, median of pairs): "
                "%.2f (goal: <= 1.00)\n",
                double(w) / 1e6, double(r) / 1e6, double(median(ratios)) / 1000);
    return 0;
}
