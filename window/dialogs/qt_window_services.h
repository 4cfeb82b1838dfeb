// The window services on Qt: modal message boxes with an OK button only and
// no icon, the system beep, the busy pointer and the processing of pending
// events.
#pragma once

#include "search_log.h"
#include "window_services.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QMessageBox;

namespace dorvelix {

inline constexpr const char* ApplicationTitle = "Dorvelix";

class SearchLogWindow;

class QtWindowServices : public WindowServices {
public:
    explicit QtWindowServices(QWidget* window) : window_(window) {}
    ~QtWindowServices() override;

    void messageBox(const QString& text, const QString& title = {}) override;
    // The box of a search's message carries a check box that silences its
    // kind for the rest of the search; every message is kept in the log.
    void searchMessage(const SearchMessage& message) override;
    // The same box, shown without an event loop of its own.
    void showSearchMessage(const SearchMessage& message, std::function<void()> answered) override;
    bool searchMessageWaits(const SearchMessage& message) const override;
    void beep() override;
    // 99 shows the busy pointer over the whole application, 0 the default.
    // Like a property, not a stack: 0 restores the default however often 99
    // was set.
    void setMousePointer(int pointer) override;
    void processEvents() override;
    void processPaintEvents() override;
    void processRepaints() override;

    bool busyPointerShown() const { return busy_; }

    // The messages of the last search (begun with beginSearch).
    SearchLog& searchLog() { return log_; }
    void beginSearch() { log_.begin(); }
    // After a search that kept messages without a box: one box says how
    // many, and offers the search log window.
    void endSearch();
    // Opens (or brings up) the search log window on the last search's log.
    SearchLogWindow* showSearchLog();

    // When set, receives each box's text and title instead of a box being
    // shown (tests, which have no one to press OK).
    std::function<void(const QString& text, const QString& title)> onMessageBox;
    // When set, answers a search's box instead (tests): returns whether the
    // user ticked "do not show this kind again".
    std::function<bool(const QString& text)> onSearchMessage;

private:
    void runBox(QMessageBox& box);

    QPointer<QWidget> window_;
    bool busy_ = false;
    SearchLog log_;
    QPointer<SearchLogWindow> logWindow_;
};

}  // namespace dorvelix
