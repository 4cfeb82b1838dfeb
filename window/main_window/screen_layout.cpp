#include "screen_layout.h"

namespace dorvelix {

namespace {

// 0 stands for a value the layout takes from elsewhere (the panel margin) or
// leaves to the control (the drive list's height).
constexpr std::array<ScreenLayout, 3> Layouts{{
    // large
    {{420, 360, 2300, 2520, 120, 2400, 150, 1448, 3848, 14, 12},
     {{4350, 330, 200, 200},
      {0, 0, 5140, 7545},
      {1050, 600, 3570, 0},
      {5400, 0, 6750, 7545},
      {0, 360, 3075, 2460},
      {3270, 360, 3150, 2460},
      1260, 2960, 4160, 12148, 8500}},
    // medium
    {{320, 285, 1800, 2048, 48, 1848, 100, 948, 2800, 11, 10},
     {{3260, 250, 150, 150},
      {0, 0, 4000, 5648},
      {790, 450, 2680, 0},
      {4096, 0, 4924, 5648},
      {0, 270, 2300, 1845},
      {2450, 270, 2360, 1845},
      950, 2220, 3120, 9196, 6478}},
    // small
    {{288, 240, 1356, 1696, 96, 1448, 96, 792, 2148, 10, 8},
     {{2720, 205, 120, 120},
      {0, 0, 3240, 4800},
      {655, 336, 2230, 0},
      {3408, 0, 3900, 4800},
      {0, 225, 1824, 1332},
      {2000, 225, 1764, 1332},
      768, 1704, 2500, 7500, 5600}},
}};

}  // namespace

std::optional<ScreenLayout> screenLayout(int size)
{
    if (size < 1 || size > 3)
        return std::nullopt;
    return Layouts[static_cast<size_t>(size - 1)];
}

}  // namespace dorvelix
