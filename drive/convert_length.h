// The nine conversion cluster lengths of the menu, 128 to 32,768 bytes, and
// the menu's click: store the length, mark it, show it, clear the converted
// results (the user searches again to fill them).
#pragma once

#include "form_state.h"
#include "window_services.h"

#include <array>
#include <cstdint>

namespace dorvelix {

inline constexpr std::array<std::int32_t, 9> ConvertLengths{128, 256, 512, 1024, 2048, 4096, 8192, 16384, 32768};

// The menu position of a length, or -1 when it is none of the nine.
int convertIndexOf(std::int32_t length);

// A click on entry index (0..8) of the conversion cluster length menu.
void pickConvertLength(FormState& form, FormView& view, int index);

}  // namespace dorvelix
