// Queries on a file named by its full path. Nothing is opened for writing
// and links are never followed.
#pragma once

#include <QString>
#include <string>

namespace dorvelix {

namespace attr {
inline constexpr int ReadOnly = 1;
inline constexpr int Hidden = 2;
inline constexpr int System = 4;
inline constexpr int Directory = 16;
inline constexpr int Archive = 32;
}  // namespace attr

// The entry's own length in bytes, 64-bit; RuntimeError 53 (no such file or
// folder on the way) or 52 (any other failure).
long long fileLength(const std::string& path);
// The attribute bits (1 read-only, 2 hidden, 4 system, 16 directory,
// 32 archive); on a FAT volume the volume's own bits. Errors as fileLength.
int fileAttributes(const std::string& path);
// The last-modified date and time in local time, "yyyy/MM/dd hh:mm:ss".
// Errors as fileLength.
QString fileDateTime(const std::string& path);
// A time given in milliseconds since the epoch, as fileDateTime writes it.
QString dateTimeText(long long millisecondsSinceEpoch);
// 0 when path (links followed) is a folder, else the errno that refuses it:
// ENOTDIR for an entry of another kind.
int folderCause(const std::string& path);

}  // namespace dorvelix
