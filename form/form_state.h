// The main window's form-level variables that the search, the drive query,
// the graph and the window share. They live as long as the window.
#pragma once

#include <QString>
#include <cstdint>

namespace dorvelix {

struct FormState {
    // Cluster lengths in bytes and the 32-byte directory entries they hold.
    std::int32_t clusterLength = 0;
    std::int32_t convertLength = 0;
    std::int32_t entriesPerCluster = 0;
    std::int32_t convertEntriesPerCluster = 0;
    std::int32_t convertIndex = 0;  // menu position 0..8 of convertLength

    // The running totals of the folder search, 32-bit as the search counts
    // them; the search's result holds what they reached at each row.
    std::int32_t treeFolders = 0;
    std::int32_t treeFiles = 0;
    std::int32_t treeClusterCount = 0;
    std::int32_t treeConvertClusterCount = 0;
    // No search counted yet (a new drive, a new search, start-up).
    void clearSearchTotals()
    {
        treeFolders = 0;
        treeFiles = 0;
        treeClusterCount = 0;
        treeConvertClusterCount = 0;
    }

    // The drive's total and free cluster units. 64-bit so that volumes of
    // more than 2,147,483,647 cluster units keep their true figures.
    std::int64_t totalClusterCount = 0;
    std::int64_t freeClusterCount = 0;

    bool modifierHeld = false;  // a modifier was held: no folder search

    // The 16-bit figures of the layout: the arithmetic on them must overflow
    // and fail exactly as 16-bit integers do, so they keep their 16-bit type.
    std::int16_t screenSize = 0;     // 1 large, 2 medium, 3 small
    std::int16_t textFontSize = 0;
    std::int16_t graphLeft = 0;
    std::int16_t graphTop = 0;

    // Text slot for message boxes: a search error's path or a help text.
    QString messageText;
};

}  // namespace dorvelix
