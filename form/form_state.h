// The main window's form-level variables that the search, the drive query,
// the graph and the window share. They live as long as the window.
#pragma once

#include <QString>
#include <cstdint>

namespace dorvelix {

inline constexpr std::int16_t True = -1;
inline constexpr std::int16_t False = 0;

struct FormState {
    // Cluster lengths in bytes and the 32-byte directory entries they hold.
    std::int32_t ClusterLength = 0;
    std::int32_t ConvertLength = 0;
    std::int32_t EntriesPerCluster = 0;
    std::int32_t ConvertEntriesPerCluster = 0;
    std::int32_t ConvertIndex = 0;  // menu position 0..8 of ConvertLength

    // The search totals.
    std::int32_t TreeFolders = 0;
    std::int32_t TreeFiles = 0;
    std::int32_t TreeClusterCount = 0;
    std::int32_t TreeConvertClusterCount = 0;

    // The drive's total and free cluster units. 64-bit so that volumes of
    // more than 2,147,483,647 cluster units keep their true figures.
    std::int64_t TotalClusterCount = 0;
    std::int64_t FreeClusterCount = 0;

    std::int16_t ShiftDown = False;  // a modifier was held: no folder search
    std::int16_t ScreenSize = 0;     // 1 large, 2 medium, 3 small
    std::int16_t TextFontSize = 0;
    std::int16_t GraphLeft = 0;
    std::int16_t GraphTop = 0;

    // Text slot for message boxes: a search error's path or a help text.
    QString MsgText;
};

}  // namespace dorvelix
