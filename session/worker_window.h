// The main window as a search running on a worker thread sees it: every
// figure and box it tells goes through WindowCalls to the window's thread,
// the worker waiting until the window has taken it. Between top-level
// subfolders, where the window's pending events ran while the search ran on
// its thread, the verbs the user gave meanwhile that change the figures the
// walk counts with (a conversion length, a screen size) run on the window's
// thread while the walk waits, in the order given; the window itself paints
// and takes input all along.
#pragma once

#include "window_calls.h"
#include "window_services.h"

#include <atomic>
#include <deque>
#include <functional>

namespace dorvelix {

class WorkerWindow : public FormView, public WindowServices {
public:
    WorkerWindow(FormView& view, WindowServices& window, WindowCalls& calls);

    // On the window's thread: runs task between two top-level subfolders of
    // the running search, or at its end.
    void runBetweenFolders(std::function<void()> task)
    {
        waiting_.push_back(std::move(task));
        anyWaiting_ = true;
    }
    // On the window's thread: runs what waited for that, in order.
    void runWaiting();

    void driveFiguresReached(const DriveFigures& figures) override;
    void driveGeometryLost() override;
    void folderResultsCleared() override;
    void filesListed(const SearchResult& search) override;
    void folderAloneBooked(const SearchResult& search) override;
    void subtreeCounted(const SearchResult& search) override;
    void subtreeCleared() override;
    void convertLengthPicked(long long length) override;
    void checkConvertLength(int index) override;
    void drawUsageGraph(int screenSize) override;
    void paintSearchLamp(int side, bool red) override;

    void messageBox(const QString& text, const QString& title) override;
    void searchMessage(const SearchMessage& message) override;
    void beep() override;
    void setMousePointer(int pointer) override;
    // Between top-level subfolders: what waited runs.
    void processEvents() override;
    // The window repaints by itself: nothing to wait for.
    void processPaintEvents() override {}
    void processRepaints() override {}

private:
    void onWindow(const std::function<void()>& task) { calls_.call(task); }

    FormView& view_;
    WindowServices& window_;
    WindowCalls& calls_;
    std::deque<std::function<void()>> waiting_;  // on the window's thread
    // Whether waiting_ holds anything, read by the worker, so that it asks
    // the window's thread only when there is something to run.
    std::atomic<bool> anyWaiting_{false};
};

}  // namespace dorvelix
