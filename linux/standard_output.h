// The end of a command-line program's output on standard output.
#pragma once

#include <QString>

namespace dorvelix {

// Closes standard output. When a write to it failed (a full disk, an I/O
// error) the output is incomplete: says so on standard error, naming the
// program and the cause, and returns 2; otherwise returns status.
int closeStandardOutput(const QString& program, int status);

}  // namespace dorvelix
