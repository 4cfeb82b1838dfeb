// The drive panel a test reads: the figures the drive query shows for the
// drive holding a mount point, recorded by a window that draws nothing.
#pragma once

#include "drive_info.h"
#include "drives.h"
#include "recording_window.h"
#include "value_boxes.h"

#include <string>

namespace dorvelix::testing {

struct Panel {
    FormState form;
    RecordingWindow window;
    bool shown = false;
    explicit Panel(const std::string& mountPoint)
    {
        shown = DriveQuery(form, window, window, systemVolumes()).showDriveInfo(driveTextOf(mountPoint));
    }
    QString box(Box b) const { return window.box(b); }
};

}  // namespace dorvelix::testing
