// A folder search without a display, as the window runs it after a
// double-click in openFolders.
#pragma once

#include "box_names.h"
#include "folder_search.h"
#include "recording_window.h"

#include <cstdint>
#include <functional>
#include <string>

namespace dorvelix::testing {

// Hears the search's progress as the window's progress display would.
struct HeardProgress : SearchEvents {
    std::function<void()> onProgress;
    void searchAdvanced() override
    {
        if (onProgress)
            onProgress();
    }
};

struct SearchRig {
    FormState form;
    RecordingWindow window;
    FolderList openFolders;
    FileList openFiles;
    FolderSearch search{form, openFolders, openFiles, window, window};
    HeardProgress progress;

    explicit SearchRig(std::int32_t clusterLength = 4096, std::int32_t convertLength = 0)
    {
        openFiles.showHidden = openFiles.showSystem = true;
        search.setEvents(&progress);
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
    void open(const std::string& folder)
    {
        openFolders.setPath(folder);
        search.onFolderChosen();
    }
    std::string box(Box b) const { return window.box(b).toStdString(); }
};

}  // namespace dorvelix::testing
