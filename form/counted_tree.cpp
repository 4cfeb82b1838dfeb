#include "counted_tree.h"

#include <algorithm>
#include <limits>

namespace dorvelix {

std::vector<CountedTree::Index> CountedTree::children(Index i) const
{
    std::vector<Index> out;
    for (Index c = i + 1; c < nodes_[i].end; c = nodes_[c].end)
        out.push_back(c);
    return out;
}

CountedTree::Index CountedTree::parent(Index i) const
{
    // The nearest folder before it in walk order one level up.
    const int d = nodes_[i].depth;
    while (i > 0 && nodes_[--i].depth >= d) {
    }
    return i;
}

FolderRow CountedTree::subtreeRow(Index i) const
{
    FolderRow r = nodes_[i].row;
    if (i > 0) {
        r.folders -= 1;
        r.clusters -= 1;
        r.convertClusters -= 1;
    }
    return r;
}

FolderRow CountedTree::ownRow(Index i) const
{
    FolderRow own = nodes_[i].row;
    // A subfolder's row counts itself: the chosen folder's subtree does not.
    if (i > 0)
        own.folders -= 1;
    for (Index c = i + 1; c < nodes_[i].end; c = nodes_[c].end) {
        const FolderRow& r = nodes_[c].row;
        own.folders -= r.folders;
        own.files -= r.files;
        own.clusters -= r.clusters;
        own.convertClusters -= r.convertClusters;
        own.fileBytes -= r.fileBytes;
    }
    // What is left of the folders are those listed here and not entered
    // (below the last level, unreadable), and the first table clusters of
    // them and of the folder itself, which the search books with the
    // subtree, not with any row.
    const long long unentered = own.folders + (i > 0 ? 1 : 0);
    own.clusters -= unentered;
    own.convertClusters -= unentered;
    own.folders = 0;
    return own;
}

std::string CountedTree::path(Index i) const
{
    std::vector<Index> chain;
    for (Index at = i; at > 0; at = parent(at))
        chain.push_back(at);
    std::string p(name(0));
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!p.ends_with('/'))
            p += '/';
        p += name(*it);
    }
    return p;
}

std::optional<CountedTree::Index> CountedTree::find(std::string_view path) const
{
    if (nodes_.empty())
        return std::nullopt;
    std::string_view root = name(0);
    if (!path.starts_with(root))
        return std::nullopt;
    path.remove_prefix(root.size());
    Index at = 0;
    while (!path.empty()) {
        if (path.front() == '/') {
            path.remove_prefix(1);
            continue;
        }
        const size_t slash = path.find('/');
        const std::string_view part = path.substr(0, slash);
        Index found = at;
        for (Index c = at + 1; c < nodes_[at].end; c = nodes_[c].end) {
            if (name(c) == part) {
                found = c;
                break;
            }
        }
        if (found == at)
            return std::nullopt;
        at = found;
        path.remove_prefix(slash == std::string_view::npos ? path.size() : slash);
    }
    return at;
}

std::size_t CountedTree::memoryBytes() const
{
    return nodes_.capacity() * sizeof(Node) + names_.capacity();
}

FolderRow CountedTreeBuilder::rowGrownBy(const FolderRow& atEntry, const FolderRow& now)
{
    const long long folders = now.folders - atEntry.folders + 1;
    return {folders, now.files - atEntry.files, now.clusters - atEntry.clusters + folders,
            now.convertClusters - atEntry.convertClusters + folders, now.fileBytes - atEntry.fileBytes};
}

void CountedTreeBuilder::begin(std::string_view path, const FolderRow& totals)
{
    tree_ = CountedTree{};
    open_.clear();
    enter(0, path, totals);
}

void CountedTreeBuilder::enter(int depth, std::string_view name, const FolderRow& totals)
{
    leaveBelow(depth - 1, totals);
    CountedTree::Node node;
    node.nameOffset = static_cast<std::uint32_t>(tree_.names_.size());
    // A name longer than 65,535 bytes cannot be listed by Linux; kept whole
    // up to that length all the same.
    const size_t length = std::min<size_t>(name.size(), std::numeric_limits<std::uint16_t>::max());
    node.nameLength = static_cast<std::uint16_t>(length);
    node.depth = static_cast<std::uint16_t>(std::clamp(depth, 0, int(std::numeric_limits<std::uint16_t>::max())));
    tree_.names_.append(name.substr(0, length));
    open_.push_back({static_cast<CountedTree::Index>(tree_.nodes_.size()), totals});
    tree_.nodes_.push_back(node);
}

void CountedTreeBuilder::leaveBelow(int depth, const FolderRow& totals)
{
    // The chosen folder (open_[0]) stays open until finish().
    while (open_.size() > 1 && static_cast<int>(tree_.nodes_[open_.back().index].depth) > depth) {
        CountedTree::Node& node = tree_.nodes_[open_.back().index];
        node.row = rowGrownBy(open_.back().atEntry, totals);
        node.end = static_cast<std::uint32_t>(tree_.nodes_.size());
        open_.pop_back();
    }
}

CountedTree CountedTreeBuilder::finish(const FolderRow& subtree)
{
    if (tree_.nodes_.empty())
        return {};
    leaveBelow(0, subtree);
    tree_.nodes_[0].row = subtree;
    tree_.nodes_[0].end = static_cast<std::uint32_t>(tree_.nodes_.size());
    open_.clear();
    tree_.nodes_.shrink_to_fit();
    tree_.names_.shrink_to_fit();
    return std::move(tree_);
}

}  // namespace dorvelix
