// The folder search: the folder list's change handler and the driver
// searchFolder. It books what the walk enters into the form's totals, in the
// hidden folder and file lists of levels 2 to 16, and reports what fails with
// the prefix of the level it failed at.
#pragma once

#include "booked_files.h"
#include "counted_tree.h"
#include "folder_walk.h"
#include "form_state.h"
#include "level_table.h"
#include "lists.h"
#include "results.h"
#include "runtime_error.h"
#include "steps.h"
#include "window_services.h"

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <set>
#include <string>

namespace dorvelix {

// Told when a search starts, whenever it lets the window repaint or run its
// events (at most every paintInterval inside the levels), and when it has
// ended, stopped or not, on the thread that runs the search: a progress
// display hangs on these.
class SearchEvents {
public:
    virtual ~SearchEvents() = default;
    virtual void searchStarted() {}
    virtual void searchAdvanced() {}
    virtual void searchFinished() {}
};

class FolderSearch : private WalkSink {
public:
    // The folder list and the file list are the window's visible lists; the
    // search reads the folder list's folder and points the file list at it.
    FolderSearch(FormState& form, FolderList& openFolders, FileList& openFiles, WindowServices& window, FormView& view);
    ~FolderSearch() override;
    FolderSearch(const FolderSearch&) = delete;
    FolderSearch& operator=(const FolderSearch&) = delete;

    // Searches the folder list's folder unless a modifier key was held. A request made
    // while a search runs (through its pending events) is ignored.
    void onFolderChosen();
    // The whole search: its start, then its walk.
    void searchFolder();
    // The start alone: takes the folder list as it stands, points the file
    // list at its folder and shows its files. It makes no call on the drive
    // (the folder list has read the folder), so a window runs it on its own
    // thread and the walk on a worker.
    void beginSearch();
    // The walk below the folder begun, to the end of the search.
    void walkSearch();

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

    // Who hears that a search starts, advances and ends (none by default).
    void setEvents(SearchEvents* events) { events_ = events; }
    // The rows of the last search (or of the one running).
    const SearchResult& result() const { return result_; }
    const FolderList& folderList(int n) const { return levelFolders_[static_cast<size_t>(n)]; }
    const FileList& fileList(int n) const { return levelFiles_[static_cast<size_t>(n)]; }

    // Whether the folders below the chosen one are read ahead on a second
    // thread (on by default); off, each is read when the walk enters it.
    void setReadAhead(bool on) { readAheadOn_ = on; }
    // Whether the read-ahead's threads also sort each folder's files in list
    // order (on by default): a window that shows them wants it off its own
    // thread; a caller that shows no file gains nothing from it, as the
    // search sorts a folder itself where a message must follow that order.
    void setSortFilesAhead(bool on) { sortFilesAhead_ = on; }
    // How long the walk runs before it lets the window repaint.
    std::chrono::milliseconds paintInterval{50};
    // How long the walk waits for a read-ahead that makes no progress at all
    // before it takes the drive for gone: long enough for a slow disk.
    std::chrono::milliseconds stallLimit{10000};

private:
    // One level's lists as the walk books them: its prefix, its lists and
    // the loop position j that its error reports name a path by.
    struct Activation {
        const char* prefix = "";
        const FolderList* dir = nullptr;
        const FileList* file = nullptr;
        int j = 0;
        bool entryOverflowReported = false;
    };

    // What the walk tells.
    bool goOn() override { return !stopRequested(); }
    bool whileWaiting() override;
    void beforeWait() override { paintIfDue(paintInterval); }
    void subtreeStarted(std::uint32_t index) override;
    void subtreeEnded(std::uint32_t index, bool stoppedInside) override;
    void folderEntered(int depth, const FolderScan& parent, std::uint32_t index,
                       const std::shared_ptr<const FolderScan>& folder) override;
    void folderFailed(int parentDepth, const FolderScan& parent, std::uint32_t index,
                      const RuntimeError& error) override;
    void folderBeyondLevels(const FolderScan& parent, std::uint32_t index) override;

    std::int16_t bookFolder(Activation& at, StepRunner& run);
    void bookTable(std::int16_t E, StepRunner& run);
    void report(Activation& at, const RuntimeError& e);
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
    // Each level's activation; 1 is the chosen folder's, with the folder
    // list as the search began (the window may move it while pending events
    // run) and the open file list.
    std::array<Activation, LastLevelList + 1> levelAt_;
    FolderList searchedFolders_;
    bool searching_ = false;
    bool notRootFolder_ = false;
    // What is reported once a search (overflowing totals, a drive that has gone).
    std::set<std::string> reportedOnce_;
    SearchResult result_;
    long long treeFileBytes_ = 0;  // the counted files' own lengths
    BookedFiles booked_;
    CountedTreeBuilder tree_;  // every folder entered, kept in result_.tree at the end  // files with more than one link, booked once a search
    bool readAheadOn_ = true;
    bool sortFilesAhead_ = true;
    FolderRow subtreeBefore_;  // the totals before the present top-level subfolder
    std::chrono::steady_clock::time_point lastPaint_;
    std::atomic<bool> stopRequested_{false};
    const FolderList* reading_ = nullptr;
    std::string searchedFolder_;
    SearchEvents* events_ = nullptr;
};

}  // namespace dorvelix
