// The folder search: the folder list's change handler, the driver searchFolder and the
// level walk through the hidden folder and file lists of levels 2 to 16.
#pragma once

#include "booked_files.h"
#include "form_state.h"
#include "level_table.h"
#include "lists.h"
#include "read_ahead.h"
#include "results.h"
#include "runtime_error.h"
#include "steps.h"
#include "window_services.h"

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>

namespace dorvelix {

class FolderSearch {
public:
    // The folder list and the file list are the window's visible lists; the search installs
    // onFolderChosen as the folder list's change handler.
    FolderSearch(FormState& form, FolderList& openFolders, FileList& openFiles, WindowServices& window, FormView& view);
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;

    // Searches the folder list's folder unless a modifier key was held. A request made
    // while a search runs (through its pending events) is ignored.
    void onFolderChosen();
    void searchFolder();

    bool isSearching() const { return searching_; }
    // Ends the running search at its next folder: what was counted so far
    // is kept in result() as stopped, the subtree row is never filled. May
    // be called from a handler run inside the search, or from another thread.
    void requestStop() { stopRequested_.store(true, std::memory_order_relaxed); }
    bool stopRequested() const { return stopRequested_.load(std::memory_order_relaxed); }
    // The folder the running search is booking now (its chosen folder
    // between subfolders).
    std::string currentFolder() const { return reading_ ? reading_->path() : std::string(); }
    // The folder the last search (or the one running) was started on.
    const std::string& searchedFolder() const { return searchedFolder_; }

    // Told when a search starts, whenever it lets the window repaint or run
    // its events (at most every paintInterval inside the levels), and when
    // it has ended, stopped or not: a progress display hangs on these.
    std::function<void()> onStarted;
    std::function<void()> onProgress;
    std::function<void()> onFinished;
    // The rows of the last search (or of the one running).
    const SearchResult& result() const { return result_; }
    const FolderList& folderList(int n) const { return levelFolders_[static_cast<size_t>(n)]; }
    const FileList& fileList(int n) const { return levelFiles_[static_cast<size_t>(n)]; }

    // Whether the folders below the chosen one are read ahead on a second
    // thread (on by default); off, each is read when the walk enters it.
    void setReadAhead(bool on) { readAheadOn_ = on; }
    // How long the walk runs before it lets the window repaint.
    std::chrono::milliseconds paintInterval{50};
    // How long the walk waits for a read-ahead that makes no progress at all
    // before it takes the drive for gone: long enough for a slow disk.
    std::chrono::milliseconds stallLimit{10000};

private:
    struct Activation;

    void levelChange(const LevelRow& row);
    std::int16_t bookFolder(Activation& at, const FileList& file, StepRunner& run);
    void bookTable(std::int16_t E, StepRunner& run);
    void report(Activation& at, const RuntimeError& e);
    std::shared_ptr<const FolderScan> enter(const FolderList& dir, int index);
    void paintIfDue(std::chrono::milliseconds interval);
    void finish();

    FormState& form_;
    FolderList& openFolders_;
    FileList& openFiles_;
    WindowServices& window_;
    FormView& view_;
    // The hidden lists of levels 2 and below, indexed by level; 0 and 1 stay
    // empty, level 1 being the open folder and file lists.
    std::array<FolderList, LastLevelList + 1> levelFolders_;
    std::array<FileList, LastLevelList + 1> levelFiles_;
    bool searching_ = false;
    bool notRootFolder_ = false;
    // What is reported once a search (overflowing totals, a drive that has gone).
    std::set<std::string> reportedOnce_;
    SearchResult result_;
    long long treeFileBytes_ = 0;  // the counted files' own lengths
    BookedFiles booked_;  // files with more than one link, booked once a search
    bool readAheadOn_ = true;
    std::unique_ptr<ReadAhead> readAhead_;  // during a search
    std::chrono::steady_clock::time_point lastPaint_;
    std::atomic<bool> stopRequested_{false};
    const FolderList* reading_ = nullptr;
    std::string searchedFolder_;
};

}  // namespace dorvelix
