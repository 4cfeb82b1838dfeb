#include "ext_copy.h"

#include "ext_folders.h"
#include "ext_hash.h"
#include "ext_htree.h"
#include "paths.h"

#include <algorithm>
#include <climits>

namespace dorvelix {

namespace {

// Links to a folder: its own name, its "." and one ".." for each subfolder.
constexpr long long KernelLinkLimit = 65000;
constexpr long long OldExt2LinkLimit = 32000;
// fuse2fs wants this many blocks free beyond its reserve before a mkdir.
constexpr long long MkdirCheck = 2;

std::size_t depthOf(const std::string& path)
{
    return path.empty() ? 0 : 1 + static_cast<std::size_t>(std::count(path.begin(), path.end(), '/'));
}

std::string shownPath(const std::string& path)
{
    return path.empty() ? std::string(".") : path;
}

long long saturatingProduct(long long a, long long b)
{
    long long product = 0;
    return __builtin_mul_overflow(a, b, &product) ? LLONG_MAX : product;
}

void saturatingAdd(long long& to, long long more)
{
    if (__builtin_add_overflow(to, more, &to))
        to = LLONG_MAX;
}

}  // namespace

ExtCopy::ExtCopy(const ExtVolume& volume, FolderScan::CopyOrder order)
    : volume_(volume),
      g_(volume_),
      order_(order),
      // Exact where the volume's own figures are known and its rules were
      // measured; the kernel's indexed folders also need the hash seed.
      exact_(volume.superblockRead && !volume.bigalloc && !volume.casefold && !volume.encryption
             && !volume.legacyExt2Driver && (!g_.kernel || !g_.dirIndex || volume.hashKnown))
{
}

std::optional<long long> ExtCopy::subfolderLimit() const
{
    // The ext4 driver lets a folder pass 65,000 links only with dir_nlink,
    // and only once it is indexed; fuse2fs sets no limit.
    if (!g_.kernel)
        return std::nullopt;
    if (volume_.legacyExt2Driver)
        return OldExt2LinkLimit - 2;
    if (volume_.dirNlink && g_.dirIndex)
        return std::nullopt;
    return KernelLinkLimit - 2;
}

std::vector<ExtCopy::Made> ExtCopy::madeInOrder(const FolderScan& folder)
{
    std::vector<const FolderEntry*> order;
    if (folder.keepsCreationOrder()) {
        order = folder.entriesInCopyOrder(order_);
    } else {
        // Without the copy's order the folders are counted as listed; an
        // indexed folder's blocks depend on it.
        exact_ = false;
        for (const auto* list : {&folder.folders(), &folder.files()}) {
            for (const FolderEntry& e : *list)
                order.push_back(&e);
        }
    }
    std::vector<Made> made;
    made.reserve(order.size());
    const FolderEntry* folders = folder.folders().data();
    const FolderEntry* files = folder.files().data();
    for (const FolderEntry* e : order) {
        if (e->kind == EntryKind::Folder) {
            made.push_back({e, 0, e - folders});
            continue;
        }
        // An entry whose length cannot be read cannot be copied either.
        const long long length = folder.lengthOrError(static_cast<std::uint32_t>(e - files));
        if (length >= 0)
            made.push_back({e, e->kind == EntryKind::Special ? 0 : length, -1});
    }
    return made;
}

void ExtCopy::block(const std::string& path, BlockReason reason, long long needed, long long allowed)
{
    blocked_.push_back({path, reason, needed, allowed});
}

void ExtCopy::folderRead(const std::string& path, const FolderScan& folder)
{
    const std::vector<Made> made = madeInOrder(folder);
    countEntries(path, folder, made);
    if (g_.kernel)
        saturatingAdd(kernelBlocks_, kernelFolderBlocks(path, folder, made));
    else
        pendFuse2fsFolder(path, folder, made);
}

void ExtCopy::fileBooked(const std::string&, const FolderEntry&, long long)
{
    // Counted with their folder, in the order the copy makes them.
}

void ExtCopy::countEntries(const std::string& path, const FolderScan& folder, const std::vector<Made>& made)
{
    ++counted_.entries;  // the folder itself
    long long subfolders = 0;
    for (const Made& m : made) {
        if (m.entry->kind == EntryKind::Folder) {
            ++subfolders;
            continue;
        }
        ++counted_.entries;
        if (m.entry->kind == EntryKind::Regular) {
            if (m.length > g_.maxFileBytes())
                block(joinedPath(path, folder.name(*m.entry)), BlockReason::FileTooLargeForTarget, m.length, g_.maxFileBytes());
            const bool inInode = g_.kernel && m.length <= g_.maxInline;
            if (!inInode)
                saturatingAdd(counted_.dataBytes, saturatingProduct(g_.inClusters(g_.dataBlocks(m.length)), g_.block));
            if (!g_.fileBlocksExact(m.length))
                exact_ = false;
            if (g_.kernel)
                saturatingAdd(kernelBlocks_, g_.fileBlocks(m.length));
        } else if (m.entry->kind == EntryKind::Link) {
            if (m.length > g_.maxLinkBytes())
                block(joinedPath(path, folder.name(*m.entry)), BlockReason::FileTooLargeForTarget, m.length, g_.maxLinkBytes());
            if (g_.kernel)
                kernelBlocks_ += g_.linkBlocks(m.length);
        }
    }
    if (const auto limit = subfolderLimit(); limit && subfolders > *limit)
        block(shownPath(path), BlockReason::TooManySubfolders, subfolders, *limit);
}

long long ExtCopy::kernelFolderBlocks(const std::string& path, const FolderScan& folder, const std::vector<Made>& made)
{
    const auto names = static_cast<long long>(made.size());
    const bool hashed = g_.dirIndex;
    if (!hashed || (volume_.hashKnown && !volume_.casefold && !volume_.encryption)) {
        // The driver's own steps, with the volume's seed.
        std::vector<std::uint32_t> hashes;
        if (hashed) {
            const auto version = static_cast<ExtHashVersion>(volume_.hashVersion);
            hashes.reserve(made.size());
            for (const Made& m : made)
                hashes.push_back(extNameHash(folder.name(*m.entry), version, volume_.hashSeed));
        }
        struct Filled {
            long long blocks, refused;
            bool rulesDiffered;
        };
        const auto fill = [&](bool splitByCount) {
            ExtKernelFolder f(g_, splitByCount);
            long long refused = 0;
            for (std::size_t i = 0; i < made.size(); ++i) {
                if (!f.add(hashed ? hashes[i] : 0, g_.entryBytes(made[i].entry->nameSize)))
                    ++refused;
            }
            return Filled{f.blocks(), refused, f.splitRulesDiffered()};
        };
        Filled filled = fill(false);
        if (filled.rulesDiffered && g_.oldSplitPossible) {
            // The running kernel may split as older ones did: the larger count.
            const Filled old = fill(true);
            if (old.blocks != filled.blocks || old.refused != filled.refused)
                exact_ = false;
            filled.blocks = std::max(filled.blocks, old.blocks);
            filled.refused = std::max(filled.refused, old.refused);
        }
        if (filled.refused > 0)
            block(shownPath(path), BlockReason::FolderIndexFull, names, names - filled.refused);
        // The driver adds a folder's blocks one after the other: they stay
        // within the extents its inode holds.
        const long long map = g_.extents ? 0 : indirectBlocks(filled.blocks, g_.block) * g_.blocksPerCluster;
        return g_.inClusters(filled.blocks) + map;
    }
    ExtFolderBound bound(g_);
    for (const Made& m : made)
        bound.add(g_.entryBytes(m.entry->nameSize));
    exact_ = false;
    if (bound.mayOverflowIndex())
        block(shownPath(path), BlockReason::FolderIndexFull, names, bound.namesSurelyHeld());
    // At worst every block of the folder lies apart from the others.
    const long long blocks = bound.blocks();
    return g_.inClusters(blocks) + g_.folderMapBlocks(blocks, blocks);
}

void ExtCopy::pendFuse2fsFolder(const std::string& path, const FolderScan& folder, const std::vector<Made>& made)
{
    const std::size_t depth = depthOf(path);
    finishFolders(pending_, depth, nullptr);
    ExtPendingFolder p;
    // The walk enters a folder's subfolders in their listed order, leaving
    // out those it cannot read.
    if (depth > 0 && pending_.size() == depth) {
        ExtPendingFolder& parent = pending_.back();
        const std::string_view name = lastName(path);
        while (parent.nextSubfolder < parent.subfolders.size() && parent.subfolders[parent.nextSubfolder] != name)
            ++parent.nextSubfolder;
        if (parent.nextSubfolder < parent.subfolders.size())
            p.parentSlot = static_cast<long long>(parent.nextSubfolder++);
    }
    if (p.parentSlot < 0 && depth > 0)
        exact_ = false;
    ExtLinearFolder f(g_, g_.inlineDataFeature);
    p.steps.reserve(made.size());
    for (const Made& m : made) {
        const bool grew = f.add(g_.entryBytes(m.entry->nameSize)) > 0;
        p.steps.push_back({m.entry->kind, grew, m.folderIndex >= 0 ? m.folderIndex : m.length});
    }
    ExtRoom empty;
    empty.take(g_.inlineDataFeature ? 0 : g_.blocksPerCluster);
    p.subfolders.reserve(folder.folders().size());
    for (const FolderEntry& e : folder.folders())
        p.subfolders.emplace_back(folder.name(e));
    p.subfolderRooms.assign(folder.folders().size(), empty);
    pending_.push_back(std::move(p));
}

void ExtCopy::finishFolders(std::vector<ExtPendingFolder>& pending, std::size_t depth, ExtRoom* top) const
{
    while (pending.size() > depth) {
        const ExtPendingFolder done = std::move(pending.back());
        pending.pop_back();
        const ExtRoom room = done.finish(g_, g_.inlineDataFeature ? 0 : g_.blocksPerCluster);
        if (pending.empty()) {
            if (top)
                *top = room;
        } else if (done.parentSlot >= 0) {
            pending.back().subfolderRooms[static_cast<std::size_t>(done.parentSlot)] = room;
        }
    }
}

CopyNeeds ExtCopy::needs() const
{
    CopyNeeds n = counted_;
    long long blocks = kernelBlocks_;
    if (!g_.kernel) {
        // The copy's own folder is made first, after fuse2fs's check.
        std::vector<ExtPendingFolder> pending = pending_;
        ExtRoom top, all;
        finishFolders(pending, 0, &top);
        all.check(MkdirCheck);
        all.then(top);
        blocks = all.needed();
    }
    n.bytes = saturatingProduct(blocks + targetEntryBlocks_, g_.block);
    return n;
}

void ExtCopy::targetFolderRead(const std::optional<TargetFolder>& folder, std::string_view copiedName)
{
    // Without the folder: the most a name can take there, a one-block folder
    // becoming a hashed index (two blocks), or an index a new leaf, node and
    // level (three); fuse2fs grows a folder by one block.
    const long long most = g_.kernel ? (g_.dirIndex ? 3 : 1) : 1;
    targetEntryBlocks_ = most;
    if (!folder || folder->ownBytes <= 0)
        return;
    // A folder kept inside its inode holds its names in one area of 56
    // bytes, and with the kernel a second one in an extended attribute; one
    // that outgrows them moves to a block with room to spare.
    const bool inInode = folder->ownBytes < g_.block;
    const long long blocks = inInode ? 0 : folder->ownBytes / g_.block;
    if (!inInode && (folder->ownBytes % g_.block != 0 || (g_.kernel && g_.dirIndex && blocks > 1)))
        return;  // a hashed index: the leaf the name goes to is not known
    // The free bytes lie in at most one gap after each entry, and one at the
    // start of each block (or area) whose first entry was deleted: when they
    // hold the name once for every gap, one of the gaps holds it.
    const FolderScan& listing = *folder->listing;
    long long live = inInode ? 0 : 2 * g_.entryBytes(2);  // "." and ".." (in an inode, its header)
    long long entries = inInode ? 0 : 2;
    for (const auto* list : {&listing.folders(), &listing.files()}) {
        for (const FolderEntry& e : *list) {
            live += g_.entryBytes(e.nameSize);
            ++entries;
        }
    }
    constexpr long long InodeArea = 56;
    const long long areas = inInode ? (g_.kernel && g_.maxInline > InodeArea + 4 ? 2 : 1) : blocks;
    const long long room = inInode ? InodeArea + (areas > 1 ? g_.maxInline - InodeArea - 4 : 0) : blocks * g_.usable;
    const long long name = g_.entryBytes(static_cast<long long>(copiedName.size()));
    // Without a deleted entry the free bytes lie at the end: a name that does
    // not fit there surely takes the blocks counted.
    targetEntryExact_ = room - live < name;
    if (room - live >= (entries + areas) * name)
        targetEntryBlocks_ = 0;
    else if (!inInode && g_.kernel && g_.dirIndex)
        targetEntryBlocks_ = 2;  // the one block becomes an index of three
    else
        targetEntryBlocks_ = 1;
}

bool ExtCopy::exact() const
{
    // An entry the folder it goes into may hold or not is counted at its most.
    return exact_ && (targetEntryBlocks_ == 0 || targetEntryExact_);
}

}  // namespace dorvelix
