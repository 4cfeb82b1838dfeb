// A folder search without a display, as the window runs it after a
// double-click in openFolders.
#pragma once

#include "box_names.h"
#include "folder_search.h"
#include "recording_window.h"

#include <cstdint>
#include <string>

namespace dorvelix::testing {

struct SearchRig {
    FormState form;
    RecordingWindow window;
    FolderList openFolders;
    FileList openFiles;
    FolderSearch search{form, openFolders, openFiles, window, window};

    explicit SearchRig(std::int32_t clusterLength = 4096, std::int32_t convertLength = 0)
    {
        openFiles.showHidden = openFiles.showSystem = true;
        setLengths(clusterLength, convertLength ? convertLength : clusterLength);
    }
    void setLengths(std::int32_t cluster, std::int32_t convert)
    {
        form.clusterLength = cluster;
        form.convertLength = convert;
        form.entriesPerCluster = cluster / 32;
        form.convertEntriesPerCluster = convert / 32;
    }
    // Opens the folder in openFolders, which searches it.
    void open(const std::string& folder) { openFolders.setPath(folder); }
    std::string box(Box b) const { return window.box(b).toStdString(); }
};

}  // namespace dorvelix::testing
