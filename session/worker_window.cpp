#include "worker_window.h"

namespace dorvelix {

WorkerWindow::WorkerWindow(FormView& view, WindowServices& window, WindowCalls& calls)
    : view_(view), window_(window), calls_(calls)
{
}

void WorkerWindow::runWaiting()
{
    // A task may add another (a length picked again): it runs too.
    anyWaiting_ = false;
    while (!waiting_.empty()) {
        const std::function<void()> task = std::move(waiting_.front());
        waiting_.pop_front();
        task();
    }
}

void WorkerWindow::driveFiguresReached(const DriveFigures& figures)
{
    onWindow([&] { view_.driveFiguresReached(figures); });
}

void WorkerWindow::driveGeometryLost()
{
    onWindow([&] { view_.driveGeometryLost(); });
}

void WorkerWindow::folderResultsCleared()
{
    onWindow([&] { view_.folderResultsCleared(); });
}

void WorkerWindow::filesListed(const SearchResult& search)
{
    onWindow([&] { view_.filesListed(search); });
}

void WorkerWindow::folderAloneBooked(const SearchResult& search)
{
    onWindow([&] { view_.folderAloneBooked(search); });
}

void WorkerWindow::subtreeCounted(const SearchResult& search)
{
    onWindow([&] { view_.subtreeCounted(search); });
}

void WorkerWindow::subtreeCleared()
{
    onWindow([&] { view_.subtreeCleared(); });
}

void WorkerWindow::convertLengthPicked(long long length)
{
    onWindow([&] { view_.convertLengthPicked(length); });
}

void WorkerWindow::checkConvertLength(int index)
{
    onWindow([&] { view_.checkConvertLength(index); });
}

void WorkerWindow::drawUsageGraph(int screenSize)
{
    onWindow([&] { view_.drawUsageGraph(screenSize); });
}

void WorkerWindow::paintSearchLamp(int side, bool red)
{
    onWindow([&] { view_.paintSearchLamp(side, red); });
}

void WorkerWindow::messageBox(const QString& text, const QString& title)
{
    onWindow([&] { window_.messageBox(text, title); });
}

void WorkerWindow::searchMessage(const SearchMessage& message)
{
    // A message that opens no box is only logged: the walk goes on.
    if (!window_.searchMessageWaits(message)) {
        calls_.post([this, message] { window_.showSearchMessage(message, [] {}); });
        return;
    }
    // The box shows without an event loop of its own; the walk waits for
    // its answer, the window goes on.
    calls_.callUntilDone([&](std::function<void()> answered) { window_.showSearchMessage(message, std::move(answered)); });
}

void WorkerWindow::beep()
{
    onWindow([&] { window_.beep(); });
}

void WorkerWindow::setMousePointer(int pointer)
{
    onWindow([&] { window_.setMousePointer(pointer); });
}

void WorkerWindow::processEvents()
{
    if (anyWaiting_)
        onWindow([&] { runWaiting(); });
}

}  // namespace dorvelix
