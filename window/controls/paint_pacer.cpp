#include "paint_pacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace dorvelix {

PaintPacer::PaintPacer(QWidget* window, std::chrono::milliseconds interval)
    : QObject(window), window_(window), interval_(interval)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &PaintPacer::runWaiting);
    window_->installEventFilter(this);
}

void PaintPacer::setPaced(bool paced)
{
    paced_ = paced;
    if (!paced_ && waiting_) {
        timer_.stop();
        runWaiting();
    }
}

// A top-level widget paints what has changed when its backing store's
// update request arrives; held back, the request is sent again later, and
// the backing store asks for none meanwhile.
bool PaintPacer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != window_ || event->type() != QEvent::UpdateRequest || running_)
        return false;
    if (paced_ && sinceLast_.isValid() && sinceLast_.elapsed() < interval_.count()) {
        waiting_ = true;
        if (!timer_.isActive())
            timer_.start(static_cast<int>(interval_.count() - sinceLast_.elapsed()));
        return true;
    }
    sinceLast_.start();
    return false;
}

void PaintPacer::runWaiting()
{
    if (!waiting_)
        return;
    waiting_ = false;
    sinceLast_.start();
    running_ = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window_, &request);
    running_ = false;
}

}  // namespace dorvelix
