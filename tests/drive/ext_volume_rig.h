// ext2/3/4 volumes for the copy tests: images made by mke2fs, mounted by
// the kernel or by fuse2fs, filled to a chosen room, and what they have
// free once synced.
#pragma once

#include "mount_rig.h"
#include "temp_tree.h"

#include <QJsonObject>
#include <memory>
#include <string>
#include <vector>

namespace dorvelix::testing {

enum class Writer { Kernel, Fuse2fs };

const char* writerName(Writer w);

// A file of length bytes that are all written (cp copies no holes then).
void dataFile(const TempTree& t, const std::string& relative, long long length);

std::string named(const char* pattern, int i);

// A fresh sparse image made by mke2fs with these options; "" when it
// cannot be made.
std::string extImage(const TempTree& images, const std::vector<std::string>& options, const char* size);

std::unique_ptr<TestMount> mountAs(Writer w, const std::string& image, const std::string& type, std::string& why);

// What the volume has free once everything written is on it, in blocks and inodes.
struct Free {
    long long blocks = 0, available = 0, inodes = 0, unit = 0;
};

Free freeOn(const std::string& mount);

bool copies(const std::string& from, const std::string& into);

// The limits a "target" object names as reached, in its order.
std::vector<std::string> limitsOf(const QJsonObject& t);

// Fills the volume with files of allocated blocks until exactly target
// blocks are free to the user.
bool fillBlocksTo(const std::string& mount, long long target);

// Makes empty files until exactly target inodes are free.
bool fillInodesTo(const std::string& mount, long long target);

// Whether mke2fs is missing (why says so).
bool mke2fsMissing(std::string& why);

}  // namespace dorvelix::testing
