// Non-visual folder and file lists. Assigning a folder list's path loads its
// subfolders and raises its change handler before the assignment returns, also
// when the assignment is made inside another list's change handler.
#pragma once

#include "folder_scan.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace dorvelix {

class FolderList {
public:
    std::function<void()> onChange;
    // Runs every few hundredths of a second while setPath waits for a folder
    // that no open folder listed (read on a worker thread: a wide folder, or
    // a slow drive): a window repaints there. It must not assign this list.
    std::function<void()> whileOpening;

    // Loads the subfolders of path and raises onChange. A folder that cannot
    // be opened raises RuntimeError 76, one whose drive does not answer in
    // time (FolderScan::readInTime) 71; the list keeps its previous contents
    // and onChange does not run. parent, when given, is the scan that listed
    // path, so the folder is opened relative to it.
    void setPath(const std::string& path, const FolderScan* parent = nullptr);
    // The same with a folder already read (by a read-ahead): a null scan
    // fails as a folder that cannot be opened would.
    void setScan(std::shared_ptr<const FolderScan> scan);

    // The open folder ("" before the first assignment).
    const std::string& path() const;
    // Number of subfolders. Not limited to 32,767: every subfolder is listed.
    int listCount() const { return scan_ ? static_cast<int>(scan_->folders().size()) : 0; }
    // Full path of subfolder i (0 .. listCount()-1); i = -1 is the open folder.
    std::string list(int i) const;
    const std::shared_ptr<const FolderScan>& scan() const { return scan_; }

private:
    std::shared_ptr<const FolderScan> scan_;
};

class FileList {
public:
    // Whether entries carrying the hidden or the system attribute are listed.
    bool showHidden = false;
    bool showSystem = false;
    // The selected entry, -1 for none.
    int listIndex = -1;

    // Loads the file names of path; RuntimeError 76 when it cannot be opened.
    // A scan of the same folder that has just been read may be passed to
    // spare reading the folder a second time.
    void setPath(const std::string& path, std::shared_ptr<const FolderScan> fresh = {});

    const std::string& path() const;
    int listCount() const { return count_; }
    // The hidden and system entries the settings left out of the list.
    int leftOutCount() const { return leftOut_; }
    // The bare name of entry i (exact bytes).
    std::string list(int i) const { return std::string(name(i)); }
    std::string_view name(int i) const;
    // Entry i's own length in bytes; RuntimeError 53 or 52.
    long long length(int i) const;
    const std::shared_ptr<const FolderScan>& scan() const { return scan_; }

    // The entries in the order the system gave them, for a caller that sees
    // no order (a total is the same in any order): entry k of this order is
    // the scan's file unorderedFile(k). Sorting happens on the first look at
    // list, name or length, or by inListOrder.
    std::uint32_t unorderedFile(int k) const
    {
        if (!files_.empty())
            return files_[static_cast<size_t>(k)];
        return allInOrder_ ? allInOrder_[static_cast<size_t>(k)] : static_cast<std::uint32_t>(k);
    }
    void inListOrder() const;

private:
    std::shared_ptr<const FolderScan> scan_;
    // Indices into the scan's files, in list order once sorted_; none while
    // the list holds every file of the scan in the system's order.
    mutable std::vector<std::uint32_t> files_;
    // A list of every file, once sorted: the scan's own order of them.
    mutable const std::uint32_t* allInOrder_ = nullptr;
    int count_ = 0;
    mutable bool sorted_ = true;
    int leftOut_ = 0;
};

}  // namespace dorvelix
