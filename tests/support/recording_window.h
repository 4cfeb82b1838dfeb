// A window without a display for the tests: records what the search and the
// drive query show, and optionally hands on each message box's text as it is
// raised.
#pragma once

#include "value_boxes.h"
#include "window_services.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <vector>

namespace dorvelix {

class RecordingWindow : public WindowServices, public ValueBoxView {
public:
    void messageBox(const QString& text, const QString& title = {}) override;
    void beep() override { ++beeps; }
    void setMousePointer(int pointer) override { pointers.push_back(pointer); }
    void processEvents() override;
    void processPaintEvents() override { ++paintRuns; }
    void processRepaints() override { ++repaintRuns; }

    void checkConvertLength(int index) override { checkedConvertIndex = index; }
    void drawUsageGraph(int screenSize) override { graphSizes.push_back(screenSize); }
    void paintSearchLamp(int side, bool red) override { lamps.push_back({side, red}); }

    void setBox(Box box, const QString& text) override { boxes[box] = text; }
    // The text of a box, or "" when nothing was written to it.
    QString box(Box box) const;

    QStringList messages;
    int beeps = 0;
    std::vector<int> pointers;
    int pendingEventRuns = 0;
    int paintRuns = 0;
    int repaintRuns = 0;
    std::map<Box, QString> boxes;
    int checkedConvertIndex = -1;
    std::vector<int> graphSizes;
    std::vector<std::pair<int, bool>> lamps;  // side, red

    // Called with each message box's text as it is raised.
    std::function<void(const QString&)> onMessage;
    // Called at each processing of pending events (tests use it to re-enter).
    std::function<void()> onProcessEvents;
};

}  // namespace dorvelix
