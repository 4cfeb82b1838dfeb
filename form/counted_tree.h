// The folders a search counted, kept after it so that its figures can be
// browsed without walking again: for every folder it entered, that folder
// with everything below it as a row of its parent's breakdown (itself among
// the folders, its first table cluster at both lengths). Folders only, in
// walk order (depth first, each parent before its subfolders), each node
// 56 bytes plus its name in one shared buffer; folder 0 is the chosen one,
// whose row is the search's subtree.
#pragma once

#include "results.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dorvelix {

class CountedTree {
public:
    using Index = std::uint32_t;

    bool empty() const { return nodes_.empty(); }
    Index size() const { return static_cast<Index>(nodes_.size()); }
    const FolderRow& row(Index i) const { return nodes_[i].row; }
    // The folder's name as its parent lists it; the chosen folder's is its
    // whole path.
    std::string_view name(Index i) const { return {names_.data() + nodes_[i].nameOffset, nodes_[i].nameLength}; }
    // 0 for the chosen folder, 1 for its subfolders, and so on.
    int depth(Index i) const { return nodes_[i].depth; }
    // Its subfolders that were entered, in walk order.
    std::vector<Index> children(Index i) const;
    Index parent(Index i) const;
    // The folder with everything below it as a search of it shows its
    // subtree: its row without itself and its first table cluster.
    FolderRow subtreeRow(Index i) const;
    // What the folder holds itself, as a search of it shows its "." row:
    // its files and its table beyond the first cluster. Folders below it
    // that were not entered (past the last level) count in its row only.
    FolderRow ownRow(Index i) const;
    // The path of folder i: the chosen folder's followed by the names down to i.
    std::string path(Index i) const;
    // The folder at path (the chosen folder's or one below it), if counted.
    std::optional<Index> find(std::string_view path) const;
    // What the tree takes in memory.
    std::size_t memoryBytes() const;

private:
    friend class CountedTreeBuilder;
    struct Node {
        FolderRow row;               // 40 bytes
        std::uint32_t end = 0;       // one past its last descendant
        std::uint32_t nameOffset = 0;
        std::uint16_t nameLength = 0;
        std::uint16_t depth = 0;
    };
    static_assert(sizeof(Node) <= 56);

    std::vector<Node> nodes_;
    std::string names_;
};

// Builds a CountedTree from what a walk enters, given the search's running
// totals at each step: a folder's row is what the totals grew by from its
// entry to the entry of the next folder not below it.
class CountedTreeBuilder {
public:
    // A subfolder's row from the search's totals at its entry and after
    // its tree: what they grew by, with the folder itself, and one first
    // table cluster at each length for it and every folder below it, which
    // the search books for them all only at its end.
    static FolderRow rowGrownBy(const FolderRow& atEntry, const FolderRow& now);

    // The chosen folder, before anything of it is booked.
    void begin(std::string_view path, const FolderRow& totals);
    // A folder at depth (1: a subfolder of the chosen one) is entered, before
    // its own files are booked.
    void enter(int depth, std::string_view name, const FolderRow& totals);
    // Every folder deeper than depth is done (depth 0 after a top-level
    // subfolder's tree).
    void leaveBelow(int depth, const FolderRow& totals);
    // The walk has ended; subtree is the chosen folder's row.
    CountedTree finish(const FolderRow& subtree);

private:
    struct Open {
        CountedTree::Index index;
        FolderRow atEntry;
    };
    CountedTree tree_;
    std::vector<Open> open_;
};

}  // namespace dorvelix
