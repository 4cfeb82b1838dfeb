// Keeps a window's repaints at most one per interval while it is paced: a
// repaint asked for sooner waits until the interval since the last one has
// passed, and then runs once for everything asked meanwhile. While a search
// runs on its worker the window's figures change only between its progress
// reports, and a desktop that asks for a frame every 16 ms would otherwise
// have the window's thread shape every text of the window sixty times a
// second, taking from the walk the processor it needs.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>

class QWidget;

namespace dorvelix {

class PaintPacer : public QObject {
public:
    PaintPacer(QWidget* window, std::chrono::milliseconds interval);

    // Paces the window's repaints, or lets each run when it is asked for
    // (what waits runs at once).
    void setPaced(bool paced);
    bool isPaced() const { return paced_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void runWaiting();

    QWidget* window_;
    std::chrono::milliseconds interval_;
    bool paced_ = false;
    bool waiting_ = false;   // a repaint was held back
    bool running_ = false;   // the held repaint is being run
    QElapsedTimer sinceLast_;
    QTimer timer_;
};

}  // namespace dorvelix
