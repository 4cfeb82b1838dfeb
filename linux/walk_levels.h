// The one rule by which a walk treats the folders of each level, which the
// walk and the read-ahead that reads in its order both follow: whether a
// folder's file list shows hidden and system files, and whether the walk
// enters its subfolders. Level 0 holds the folders a walk starts from, level
// 1 their subfolders, and so on; every level past the last follows the last.
#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace dorvelix {

class WalkLevels {
public:
    struct Level {
        bool hiddenAndSystem;
        bool entersNext;
    };

    // Implicit, so that a list of levels stands where the rule is asked for.
    WalkLevels(std::vector<Level> levels) : levels_(std::move(levels)) {}  // NOLINT(google-explicit-constructor)

    const Level& at(std::size_t level) const { return levels_[std::min(level, levels_.size() - 1)]; }
    // Whether the walk enters the subfolders of a folder of this level.
    bool entersSubfoldersOf(std::size_t level) const { return at(level).entersNext; }

private:
    std::vector<Level> levels_;
};

}  // namespace dorvelix
