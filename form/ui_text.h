// The window's texts in the user's language. Every text of window_texts.h is
// written in Japanese and marked for Qt's translation tools in the context
// below; uiText() looks it up in the translators the application has
// installed and gives the Japanese text itself where none is (the headless
// report installs none, so it prints the same bytes in every locale).
#pragma once

#include <QString>

namespace dorvelix {

// The translation context of every text in window_texts.h.
inline constexpr const char* TextContext = "dorvelix";

// A text of window_texts.h in the installed translation, else as written.
QString uiText(const char* text);

}  // namespace dorvelix
