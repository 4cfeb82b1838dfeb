#include "qt_window_services.h"

#include "modal_box.h"
#include "search_log_window.h"
#include "text.h"
#include "ui_text.h"
#include "window_texts.h"
#include "window_placement.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace dorvelix {

namespace {

// A message box breaks lines wider than half the screen, which tears the
// help texts' indented lines and example path apart. The text is given the
// width of its widest line instead, as far as the screen allows.
void keepLinesWhole(QMessageBox& box, const QString& text)
{
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label)
        return;
    label->ensurePolished();
    const QFontMetrics metrics(label->font());
    int widest = 0;
    for (const QString& line : text.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QScreen* screen = box.screen();
    const int room = screen ? screen->availableGeometry().width() * 9 / 10 : widest;
    label->setMinimumWidth(std::min(widest + 2 * metrics.averageCharWidth(), room));
}

// Qt's box makes itself no wider than the screen less 480 pixels (at most
// 1,000) when it is shown, whatever its text needs, and so cut off the right
// end of a label kept whole. Once shown it takes the width its label needs,
// as far as the screen allows.
class WholeLinesBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        const auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        const QScreen* shownOn = screen();
        if (!label || !shownOn)
            return;
        const int room = shownOn->availableGeometry().width() * 9 / 10;
        const int margin = layout() ? layout()->contentsMargins().right() : 0;
        const int wanted = std::min(label->x() + label->minimumWidth() + margin, room);
        if (wanted > width()) {
            widened_ = true;
            const QRect available = shownOn->availableGeometry();
            const int left = x() - (wanted - width()) / 2;
            setFixedWidth(wanted);
            move(std::clamp(left, available.left(), std::max(available.left(), available.right() - wanted)), y());
        }
    }

    // Qt's box works its size out again at every layout request, which
    // would undo the width; a widened box lays out as any dialog does.
    bool event(QEvent* event) override
    {
        if (widened_ && event->type() == QEvent::LayoutRequest)
            return QDialog::event(event);
        return QMessageBox::event(event);
    }

private:
    bool widened_ = false;
};

}  // namespace

QtWindowServices::~QtWindowServices()
{
    setMousePointer(DefaultPointer);
}

namespace {

// A box with an OK button only and no icon; an empty title shows the
// application's title.
void prepareBox(QMessageBox& box, const QString& text, const QString& title)
{
    QString shown = text;
    shown.replace(CrLf, QStringLiteral("\n"));
    box.setWindowTitle(title.isEmpty() ? QString::fromUtf8(ApplicationTitle) : title);
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    box.setStandardButtons(QMessageBox::Ok);
    keepLinesWhole(box, shown);
}

}  // namespace

void QtWindowServices::messageBox(const QString& text, const QString& title)
{
    if (onMessageBox) {
        onMessageBox(text, title);
        return;
    }
    WholeLinesBox box(window_);
    prepareBox(box, text, title);
    runBox(box);
}

void QtWindowServices::searchMessage(const SearchMessage& message)
{
    const QString text = message.text();
    const bool show = log_.showsKind(message.kind());
    log_.add(message, show);
    if (!show)
        return;
    bool mute = false;
    if (onSearchMessage) {
        mute = onSearchMessage(text);
    } else if (onMessageBox) {
        onMessageBox(text, {});
    } else {
        WholeLinesBox box(window_);
        prepareBox(box, text, {});
        box.setCheckBox(new QCheckBox(uiText(texts::MuteCheck), &box));
        runBox(box);
        mute = box.checkBox()->isChecked();
    }
    if (mute)
        log_.mute(message.kind());
}

void QtWindowServices::showSearchMessage(const SearchMessage& message, std::function<void()> answered)
{
    if (onSearchMessage || onMessageBox || !log_.showsKind(message.kind())) {
        searchMessage(message);
        answered();
        return;
    }
    log_.add(message, true);
    auto* box = new WholeLinesBox(window_);
    prepareBox(*box, message.text(), {});
    auto* mute = new QCheckBox(uiText(texts::MuteCheck), box);
    box->setCheckBox(mute);
    // The box itself shows the ordinary pointer even while a search is busy.
    if (busy_)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const QString kind = message.kind();
    openModalBox(box, [this, kind, mute, answered = std::move(answered)](int) {
        if (busy_)
            QApplication::restoreOverrideCursor();
        if (mute->isChecked())
            log_.mute(kind);
        answered();
    });
}

// The kinds muted change only while the search waits for a box's answer,
// and the log starts over before a search begins.
bool QtWindowServices::searchMessageWaits(const SearchMessage& message) const
{
    return !onSearchMessage && !onMessageBox && log_.showsKind(message.kind());
}

void QtWindowServices::endSearch()
{
    if (log_.hiddenCount() == 0)
        return;
    const QString text = uiText(texts::HiddenSummary).arg(log_.hiddenCount());
    if (onMessageBox) {
        onMessageBox(text, {});
        return;
    }
    WholeLinesBox box(window_);
    prepareBox(box, text, {});
    QPushButton* open = box.addButton(uiText(texts::OpenLogButton), QMessageBox::ActionRole);
    // Escape and the box's own close answer OK, as in every other box.
    box.setEscapeButton(QMessageBox::Ok);
    runBox(box);
    if (box.clickedButton() == open)
        showSearchLog();
}

SearchLogWindow* QtWindowServices::showSearchLog()
{
    const bool opened = !logWindow_;
    if (opened)
        logWindow_ = new SearchLogWindow(window_);
    logWindow_->setLog(log_);
    if (opened && window_)
        placeBeside(logWindow_, window_);
    logWindow_->show();
    // Shown again where it was left, unless the main window has changed
    // its size since and it would hide its figures.
    placeAgainIfInTheWay(logWindow_, logWindow_->frameGeometry());
    logWindow_->raise();
    logWindow_->activateWindow();
    return logWindow_;
}

void QtWindowServices::runBox(QMessageBox& box)
{
    // The box itself shows the ordinary pointer even while a search is busy.
    if (busy_)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    runModalBox(box);
    if (busy_)
        QApplication::restoreOverrideCursor();
}

void QtWindowServices::beep()
{
    QApplication::beep();
}

void QtWindowServices::setMousePointer(int pointer)
{
    const bool busy = pointer == BusyPointer;
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

namespace {

// Repaints asked for by the events just processed (a timer's update(), an
// expose) are done now rather than at the next call, which inside a search
// may be 50 ms away.
void paintRequestedNow()
{
    QApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
}

}  // namespace

void QtWindowServices::processEvents()
{
    QApplication::processEvents();
    paintRequestedNow();
}

void QtWindowServices::processPaintEvents()
{
    // User input runs here too: the window system counts a close request as
    // input, and closing the window must not wait for the walk to leave a
    // deep subtree. Every control that would start another search refuses
    // while one runs.
    QApplication::processEvents();
    paintRequestedNow();
}

void QtWindowServices::processRepaints()
{
    // The window system's close request counts as user input and waits too.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    paintRequestedNow();
}

}  // namespace dorvelix
