#include "recording_window.h"

namespace dorvelix {

void RecordingWindow::messageBox(const QString& text, const QString& /*title*/)
{
    messages.push_back(text);
    if (onMessage)
        onMessage(text);
}

void RecordingWindow::processEvents()
{
    ++pendingEventRuns;
    if (onProcessEvents)
        onProcessEvents();
}

QString RecordingWindow::box(Box box) const
{
    const auto it = boxes.find(box);
    return it == boxes.end() ? QString() : it->second;
}

}  // namespace dorvelix
