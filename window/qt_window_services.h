// The window services on Qt: modal message boxes with an OK button only and
// no icon, the system beep, the busy pointer and the processing of pending
// events.
#pragma once

#include "window_services.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace dorvelix {

inline constexpr const char* ApplicationTitle = "Dorvelix";

class QtWindowServices : public WindowServices {
public:
    explicit QtWindowServices(QWidget* window) : window_(window) {}
    ~QtWindowServices() override;

    void messageBox(const QString& text, const QString& title = {}) override;
    void beep() override;
    // 99 shows the busy pointer over the whole application, 0 the default.
    // Like a property, not a stack: 0 restores the default however often 99
    // was set.
    void setMousePointer(int pointer) override;
    void processEvents() override;
    void processPaintEvents() override;

    bool busyPointerShown() const { return busy_; }

    // When set, processPaintEvents runs user input too (while the search's
    // progress window is up, so that its Stop acts at once).
    bool inputDuringSearch = false;

    // When set, receives each box's text and title instead of a box being
    // shown (tests, which have no one to press OK).
    std::function<void(const QString& text, const QString& title)> onMessageBox;

private:
    QPointer<QWidget> window_;
    bool busy_ = false;
};

}  // namespace dorvelix
