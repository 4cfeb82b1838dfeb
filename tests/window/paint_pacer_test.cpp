// The window's repaints while a search runs: held to one per interval, every
// change asked for meanwhile painted by the next, none lost, and at once
// again when the search has ended.
#include "paint_pacer.h"
#include "qt_app.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace dorvelix;

namespace {

class CountingWidget : public QWidget {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// Asks for a repaint every 2 ms for the given time, running the events.
void askForRepaints(QWidget& w, int milliseconds)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < milliseconds) {
        w.update();
        QApplication::processEvents(QEventLoop::AllEvents, 2);
    }
}

}  // namespace

TEST(PaintPacer, OneRepaintPerIntervalWhilePacedNoneLostAndAtOnceAfter)
{
    dorvelix::testing::qtApp();
    CountingWidget w;
    w.resize(100, 100);
    PaintPacer pacer(&w, std::chrono::milliseconds(100));
    w.show();
    askForRepaints(w, 50);
    ASSERT_GT(w.paints, 0);

    // Unpaced, the widget paints about as often as it is asked.
    int before = w.paints;
    askForRepaints(w, 200);
    const int unpaced = w.paints - before;
    EXPECT_GT(unpaced, 10);

    // Paced: at most one repaint per 100 ms over 500 ms.
    pacer.setPaced(true);
    before = w.paints;
    askForRepaints(w, 500);
    const int paced = w.paints - before;
    EXPECT_GE(paced, 2);
    EXPECT_LE(paced, 6);

    // What was asked for last while paced is painted, without a new request.
    w.update();
    QApplication::processEvents();
    before = w.paints;
    QElapsedTimer t;
    t.start();
    while (w.paints == before && t.elapsed() < 1000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_GT(w.paints, before);

    // Ended, a request held back is painted at once, and so is the next.
    w.update();
    QApplication::processEvents();
    before = w.paints;
    pacer.setPaced(false);
    QApplication::processEvents();
    EXPECT_GT(w.paints, before);
    before = w.paints;
    w.update();
    QApplication::processEvents();
    EXPECT_GT(w.paints, before);
}
