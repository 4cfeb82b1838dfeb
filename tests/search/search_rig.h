// A folder search without a display, as the window runs it after a
// double-click in Dir1.
#pragma once

#include "folder_search.h"
#include "recording_window.h"

#include <cstdint>
#include <string>

namespace dorvelix::testing {

struct SearchRig {
    FormState form;
    RecordingWindow window;
    FolderList Dir1;
    FileList File1;
    FolderSearch search{form, Dir1, File1, window, window};

    explicit SearchRig(std::int32_t clusterLength = 4096, std::int32_t convertLength = 0)
    {
        File1.showHidden = File1.showSystem = true;
        setLengths(clusterLength, convertLength ? convertLength : clusterLength);
    }
    void setLengths(std::int32_t cluster, std::int32_t convert)
    {
        form.ClusterLength = cluster;
        form.ConvertLength = convert;
        form.EntriesPerCluster = cluster / 32;
        form.ConvertEntriesPerCluster = convert / 32;
    }
    // Opens the folder in Dir1, which searches it.
    void open(const std::string& folder) { Dir1.setPath(folder); }
    std::string box(int n) const { return window.box(n).toStdString(); }
};

}  // namespace dorvelix::testing
