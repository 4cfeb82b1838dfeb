// Text services for file names, which are bytes on Linux: the bytes are kept
// for every file-system call and decoded only for display.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace dorvelix {

// The line break inside message box texts.
inline const QString CrLf = QStringLiteral("\r\n");

// The name as the user sees it: UTF-8, each invalid byte shown as U+FFFD.
QString displayText(std::string_view bytes);
// Length in characters: Unicode code points, one for each byte that is not
// part of a valid UTF-8 sequence.
int characterCount(std::string_view bytes);

// A text on one line of a terminal or a file: each control character (C0,
// DEL, C1) shown as \t, \n, \r or \xHH, and a backslash as \\, so that a
// tab or a line break in a name cannot split a row and the escapes cannot be
// mistaken for the name's own characters.
QString escapedControls(const QString& text);

}  // namespace dorvelix
