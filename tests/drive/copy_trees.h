// Trees to copy for the real-volume tests of the btrfs and f2fs layouts,
// made entry by entry in a chosen order on a fresh ext4 volume of one block
// group, where inode numbers follow the order of creation: cp -r creates a
// folder's entries by inode number, sload.f2fs by their names' bytes.
#pragma once

#include "mount_rig.h"
#include "temp_tree.h"

#include <QJsonObject>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace dorvelix::testing {

// One entry of a tree: a file of size bytes (a FIFO with size -1), a
// folder (path ending in "/"), or a link to target.
struct Entry {
    std::string path;
    long long size = 0;
    std::string target = {};
};
using Tree = std::vector<Entry>;

std::string numbered(const char* pattern, long long i);

// The trees by kind ("empty", "tiny", "names", "wide", "mixed"), each in a
// folder "copy"; the names tree holds a FIFO where fifo is true.
std::map<std::string, Tree> copyTrees(bool fifo);

// The "target" object of `dorvelix-report --json --target target folder`.
QJsonObject targetOf(const std::string& target, const std::string& folder);

// Creates a tree under root (made here), depth first, each folder's
// entries in the byte order of their names or the reverse. Files hold
// letters, never zeros, so that no copy leaves holes.
void create(const std::string& root, const Tree& tree, bool reverse = false);

// A fresh volume made by mkfs.TYPE (ext4, btrfs) on a sparse image in
// images and mounted by the kernel; null with the reason in why.
std::unique_ptr<TestMount> freshVolume(const TempTree& images, const std::string& type, const std::string& size,
                                       std::vector<std::string> mkfs, std::string& why, const std::string& options = {});
// The ext4 volume of one block group the trees are made on.
std::unique_ptr<TestMount> sourceVolume(const TempTree& images, std::string& why);

}  // namespace dorvelix::testing
