// Browsing what a search counted, measured as a user steps through it: the
// window searches FOLDER once, the breakdown opens, and then goes into the
// biggest subfolder (by converted bytes) level after level down to a depth
// of three, and back up, each step timed until its rows are painted. Beside
// each step down, the search of that subfolder that such a step ran before
// the breakdown browsed: the ratio of the two is what browsing saves.
//
//   dorvelix-bench-browse FOLDER [RUNS]
//
// Run it under QT_QPA_PLATFORM=offscreen or an X server such as Xvfb.
#include "breakdown_window.h"
#include "folder_scan.h"
#include "main_window.h"
#include "qt_translations.h"
#include "tool_windows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void waitForSearch(dorvelix::MainWindow& form)
{
    while (form.session().isSearching())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QApplication::processEvents();
}

// A step of the breakdown timed until the table has painted its rows.
template <class Step>
double timedStep(dorvelix::BreakdownWindow& w, Step step)
{
    QElapsedTimer t;
    t.start();
    step();
    w.table()->viewport()->repaint();
    QApplication::processEvents();
    return double(t.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[(v.size() - 1) / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs("usage: dorvelix-bench-browse FOLDER [RUNS]\n", stderr);
        return 2;
    }
    const std::string folder = QFileInfo(args[0]).absoluteFilePath().toStdString();
    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 3;

    // In the desktop's language, as the program opens.
    dorvelix::installTranslations(dorvelix::systemUiLanguage());
    dorvelix::MainWindow form;
    form.load();
    form.show();
    form.services().onMessageBox = [](const QString&, const QString&) {};
    form.session().openFolder(folder);
    waitForSearch(form);
    // For the README's picture: converted at a card's larger length, so
    // that the slack shows; the search is run again at that length.
    const QByteArray shotLength = qgetenv("DORVELIX_SCREENSHOT_CONVERT_ENTRY");
    if (!shotLength.isEmpty()) {
        form.pickConvertLength(shotLength.toInt());
        form.session().openFolder(folder);
        waitForSearch(form);
    }
    const auto tree = form.search().result().tree;
    if (!tree || tree->empty()) {
        std::fputs("dorvelix-bench-browse: the search kept no folders\n", stderr);
        return 1;
    }
    form.tools()->showBreakdown();
    dorvelix::BreakdownWindow& w = *form.tools()->breakdown();
    QApplication::processEvents();

    // The way down: the biggest subfolder at each level.
    std::vector<dorvelix::CountedTree::Index> way;
    for (dorvelix::CountedTree::Index at = 0; way.size() < 3;) {
        const auto children = tree->children(at);
        if (children.empty())
            break;
        at = *std::max_element(children.begin(), children.end(), [&](auto a, auto b) {
            return tree->row(a).convertClusters < tree->row(b).convertClusters;
        });
        way.push_back(at);
    }
    std::vector<double> steps;
    const std::uint64_t listings = dorvelix::FolderScan::listingsRead();
    for (int run = 0; run < runs; ++run) {
        for (const auto at : way)
            steps.push_back(timedStep(w, [&] { w.goInto(at); }));
        for (size_t k = 0; k < way.size(); ++k)
            steps.push_back(timedStep(w, [&] { w.goUp(); }));
    }
    const bool readNothing = dorvelix::FolderScan::listingsRead() == listings;
    // DORVELIX_SCREENSHOT=path saves the breakdown one level down the way,
    // as the README shows it.
    if (const QByteArray shot = qgetenv("DORVELIX_SCREENSHOT"); !shot.isEmpty() && !way.empty()) {
        w.goInto(way.front());
        w.resize(1500, 640);
        QApplication::processEvents();
        w.grab().save(QString::fromUtf8(shot));
        w.goUp();
    }

    // What each step down cost before: a search of that subfolder.
    std::vector<double> searches;
    for (const auto at : way) {
        QElapsedTimer t;
        t.start();
        form.session().openFolder(tree->path(at));
        waitForSearch(form);
        searches.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("folders kept: %u, %zu bytes (%.1f a folder, names included)\n", tree->size(), tree->memoryBytes(),
                double(tree->memoryBytes()) / tree->size());
    std::printf("way down: ");
    for (const auto at : way)
        std::printf("%s  ", tree->path(at).c_str());
    std::printf("\n%zu browsing steps: median %.2f ms, longest %.2f ms (goal: < 50), folders read meanwhile: %s\n",
                steps.size(), median(steps), *std::max_element(steps.begin(), steps.end()),
                readNothing ? "none" : "SOME");
    std::printf("a search of each folder on the way instead: median %.1f ms; ratio (browsing step / search): %.3f\n",
                median(searches), median(steps) / std::max(median(searches), 1e-6));
    return readNothing ? 0 : 1;
}
