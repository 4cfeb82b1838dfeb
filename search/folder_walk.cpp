#include "folder_walk.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace dorvelix {

FolderWalk::FolderWalk(WalkLevels levels, WalkSink& sink) : levels_(std::move(levels)), sink_(sink) {}

FolderWalk::~FolderWalk() = default;

void FolderWalk::startReadAhead()
{
    if (!readAheadOn_ || readAhead_)
        return;
    readAhead_ = std::make_unique<ReadAhead>(levels_, stallLimit);
    readAhead_->setSortFiles(sortFiles_);
    readAhead_->waitSlice = waitSlice;
    readAhead_->whileWaiting = [this] { return sink_.whileWaiting(); };
}

const FolderWalk::Level& FolderWalk::levelAt(int depth) const
{
    return levels_.at(static_cast<size_t>(depth - 1));
}

void FolderWalk::measure(std::shared_ptr<const FolderScan> top)
{
    startReadAhead();
    if (readAhead_)
        readAhead_->measure(std::move(top));
}

void FolderWalk::walkBelow(std::shared_ptr<const FolderScan> top)
{
    startReadAhead();
    for (std::uint32_t i = 0; i < top->folders().size() && sink_.goOn(); ++i) {
        sink_.subtreeStarted(i);
        bool stoppedInside = false;
        try {
            // Each subtree is read ahead from the moment the walk enters it:
            // nothing is read before what the sink did between two of them.
            if (readAhead_)
                readAhead_->start(top, i);
            enterAndWalk(1, top, i);
        } catch (const Abandoned&) {
            stoppedInside = true;
        }
        sink_.subtreeEnded(i, stoppedInside);
        if (stoppedInside)
            break;
    }
    readAhead_.reset();
}

void FolderWalk::enterAndWalk(int depth, const std::shared_ptr<const FolderScan>& parent, std::uint32_t index)
{
    std::shared_ptr<const FolderScan> folder;
    try {
        folder = enter(parent, index);
    } catch (const RuntimeError& error) {
        sink_.folderFailed(depth - 1, *parent, index, error);
        return;
    } catch (const std::bad_alloc&) {
        sink_.folderFailed(depth - 1, *parent, index, RuntimeError(err::OutOfMemory));
        return;
    }
    sink_.folderEntered(depth, *parent, index, folder);
    const bool entersNext = levels_.entersSubfoldersOf(static_cast<size_t>(depth - 1));
    for (std::uint32_t i = 0; i < folder->folders().size() && sink_.goOn(); ++i) {
        if (entersNext)
            enterAndWalk(depth + 1, folder, i);
        else
            sink_.folderBeyondLevels(*folder, i);
    }
}

// The scan of subfolder index of parent: read ahead, or without read-ahead
// read now.
std::shared_ptr<const FolderScan> FolderWalk::enter(const std::shared_ptr<const FolderScan>& parent, std::uint32_t index)
{
    if (!readAhead_)
        return FolderScan::read(parent->childPath(parent->name(parent->folders()[index])), parent.get());
    if (!readAhead_->nextReady())
        sink_.beforeWait();
    if (auto scan = readAhead_->take(parent.get(), index))
        return scan;
    // The read-ahead does not hold it: it reads on from this folder, so that
    // the walk's thread never calls on the drive, and gives it up after the
    // stall limit like any other.
    readAhead_->start(parent, index);
    if (auto scan = readAhead_->take(parent.get(), index))
        return scan;
    throw RuntimeError(err::DiskNotReady, err::FolderQuery, ETIMEDOUT);
}

}  // namespace dorvelix
