#include "focus_mark.h"

#include "controls.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace dorvelix {

namespace {
constexpr int Width = 2;  // pixels, drawn just outside the control
}  // namespace

FocusMark::FocusMark(QWidget* area) : QWidget(area), area_(area)
{
    setObjectName(QStringLiteral("focusMark"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusMark::follow(QWidget* focused)
{
    const bool ours = focused && focused != area_ && area_->isAncestorOf(focused);
    if (target_ && target_ != focused)
        target_->removeEventFilter(this);
    if (!ours) {
        target_ = nullptr;
        hide();
        return;
    }
    if (target_ != focused) {
        target_ = focused;
        target_->installEventFilter(this);
    }
    place();
}

void FocusMark::place()
{
    if (!target_ || !target_->isVisible()) {
        hide();
        return;
    }
    const QRect inArea(target_->mapTo(area_, QPoint(0, 0)), target_->size());
    setGeometry(inArea.adjusted(-Width, -Width, Width, Width));
    show();
    raise();
}

bool FocusMark::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == target_) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide:
            place();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FocusMark::paintEvent(QPaintEvent*)
{
    // Only the border: the control shows through inside it.
    QPainter p(this);
    QPen pen(colors::Yellow, Width);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.drawRect(QRectF(rect()).adjusted(Width / 2.0, Width / 2.0, -Width / 2.0, -Width / 2.0));
}

}  // namespace dorvelix
