// The texts of the window's messages, formatted from typed values in one
// place: the description of a run-time error and the folder search's boxes.
#pragma once

#include "runtime_error.h"

#include <QString>

namespace dorvelix {

// The description of a run-time error number. Given the errno that caused
// it, error 76 says that cause: a missing path, no permission, not a
// folder, a path too long, a read error or too many open files.
QString errorDescription(int number, int cause = 0);
inline QString errorDescription(const RuntimeError& e)
{
    return errorDescription(e.number(), e.cause());
}

// The box of an error on a path: its description, then the path on a line
// of its own.
QString pathErrorMessage(int number, int cause, const QString& path);
inline QString pathErrorMessage(const RuntimeError& e, const QString& path)
{
    return pathErrorMessage(e.number(), e.cause(), path);
}

// The drive query's box for a drive it cannot read: the drive text with
// the question whether a medium is in.
QString noMediumMessage(const QString& drive);

// One message of the folder search, as typed values: an error with the
// prefix of the level it arose on, its number, the errno behind it and the
// path it names, or the warning about a folder too deep to enter (no
// prefix, no number). The user may silence further messages of one kind
// during the search.
struct SearchMessage {
    const char* prefix = nullptr;
    int number = 0;
    int cause = 0;
    QString path;

    bool isDepthWarning() const { return prefix == nullptr; }
    // The prefix with the signed number, or the warning's text.
    QString kind() const;
    // The error's description; empty for the warning.
    QString causeText() const;
    // The message box's text.
    QString text() const;
};

}  // namespace dorvelix
