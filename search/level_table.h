// The fifteen levels of the walk below the chosen folder. Level k is handled
// by the folder list Dir(k+1) with the file list File(k+1); the row says
// whether that file list shows hidden and system files and which prefix its
// error messages carry. The last level enters no further level and warns.
#pragma once

#include <array>

namespace dorvelix {

struct LevelRow {
    int list;               // N of DirN / FileN
    bool hiddenAndSystem;   // FileN lists hidden and system files
    bool entersNextLevel;   // false: warns about each subfolder instead
    const char* prefix;     // message prefix of the level's error boxes
};

inline constexpr int FirstLevelList = 2;
inline constexpr int LastLevelList = 16;

inline constexpr std::array<LevelRow, 15> LevelTable{{
    {2, true, true, "err2 code :"},
    {3, true, true, "err3 code :"},
    {4, true, true, "err4 code :"},
    {5, true, true, "err5 code :"},
    {6, true, true, "err6 code :"},
    {7, true, true, "err7 code :"},
    {8, true, true, "err8 code :"},
    {9, true, true, "err9 code :"},
    {10, false, true, "err10 code :"},
    {11, false, true, "err11 code :"},
    {12, false, true, "err12 code :"},
    {13, false, true, "err13 code :"},
    {14, false, true, "err14 code :"},
    {15, false, true, "err15 code :"},
    {16, false, false, "err16 code :"},
}};

inline constexpr const char* DriverPrefix = "err1 code :";

}  // namespace dorvelix
