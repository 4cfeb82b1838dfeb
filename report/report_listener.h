// What the report hears from the drive query and the search it runs: every
// message box's text, kept for the exit status and the JSON, and printed as
// it is raised once the search is under way. The figures themselves are read
// from the drive query and the search when they are done, so the value boxes,
// drawings and pointer a window would show are nothing to the report.
#pragma once

#include "window_services.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace dorvelix {

class ReportListener : public WindowServices, public FormView {
public:
    void messageBox(const QString& text, const QString& /*title*/ = {}) override
    {
        messages.push_back(text);
        if (onMessage)
            onMessage(text);
    }
    void beep() override {}
    void setMousePointer(int /*pointer*/) override {}
    void processEvents() override {}
    void processPaintEvents() override {}

    void driveFiguresReached(const DriveFigures& /*figures*/) override {}
    void driveGeometryLost() override {}
    void folderResultsCleared() override {}
    void filesListed(const SearchResult& /*search*/) override {}
    void folderAloneBooked(const SearchResult& /*search*/) override {}
    void subtreeCounted(const SearchResult& /*search*/) override {}
    void subtreeCleared() override {}
    void convertLengthPicked(long long /*length*/) override {}
    void checkConvertLength(int /*index*/) override {}
    void drawUsageGraph(int /*screenSize*/) override {}
    void paintSearchLamp(int /*side*/, bool /*red*/) override {}

    QStringList messages;
    // Told each message box's text as it is raised; unset, the text is only kept.
    std::function<void(const QString&)> onMessage;
};

}  // namespace dorvelix
