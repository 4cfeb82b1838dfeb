// Real volumes for the drive tests: tmpfs and fusefat mounts made by the test
// and always unmounted again, and the Debian tools that build FAT images.
#pragma once

#include "child_run.h"
#include "used_clusters.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>
#include <sys/types.h>

namespace dorvelix::testing {

class TempTree;

class TestMount {
public:
    // A tmpfs with the given options (tmpfs's own, and "strictatime") and
    // source name on a fresh folder
    // (inside parent, when given, under the given name; on parent itself when
    // no name is given). Null with the reason in why.
    static std::unique_ptr<TestMount> tmpfs(const std::string& options, std::string& why,
                                            const std::string& source = "dorvelix-test",
                                            const std::string& parent = {}, const std::string& name = {});
    // The FAT image mounted read-only by fusefat, which runs as this process's
    // child; its source is the image's path. Null with the reason in why.
    static std::unique_ptr<TestMount> fusefat(const std::string& image, std::string& why,
                                              const std::string& parent = {}, const std::string& name = {});
    // The exFAT image on a loop device of its own, mounted read-write by
    // mount.exfat-fuse (a fuseblk mount naming the loop device). The loop
    // device goes with the mount. Null with the reason in why.
    static std::unique_ptr<TestMount> exfatFuse(const std::string& image, std::string& why);
    // The NTFS image on a loop device of its own, mounted read-write by
    // ntfs-3g (a fuseblk mount naming the loop device).
    static std::unique_ptr<TestMount> ntfs3g(const std::string& image, std::string& why);
    // The image on a loop device of its own, mounted read-write by the
    // kernel's own driver of that type (ext4, btrfs ...), with options.
    static std::unique_ptr<TestMount> kernel(const std::string& image, const std::string& type, std::string& why,
                                             const std::string& options = {});
    // The ext2/3/4 image mounted read-write by fuse2fs (a fuse.fuse2fs
    // mount naming the image).
    static std::unique_ptr<TestMount> fuse2fs(const std::string& image, std::string& why);
    // A bind mount of the folder source on a new folder parent/name.
    static std::unique_ptr<TestMount> bind(const std::string& source, std::string& why, const std::string& parent,
                                           const std::string& name);
    ~TestMount();
    TestMount(const TestMount&) = delete;
    TestMount& operator=(const TestMount&) = delete;

    const std::string& path() const { return path_; }
    // Kills the FUSE driver: the mount stays, with nothing serving it.
    void killDriver();
    // Stops the FUSE driver (SIGSTOP): the mount stays and every request to
    // it waits. The driver goes on again after resumeAfter (ten seconds by
    // default), so that a case that waits on it fails late rather than
    // hangs, at resumeDriver and when the mount is taken down.
    void stopDriver(std::chrono::seconds resumeAfter = std::chrono::seconds(10));
    void resumeDriver();
    // Mounts a second tmpfs on top of this one; it goes with this mount.
    bool stackTmpfs(const std::string& source);

private:
    TestMount() = default;
    // Attaches image to a loop device and makes a folder to mount on.
    static std::unique_ptr<TestMount> onLoopDevice(const std::string& image, std::string& why);
    // Runs a FUSE mounter that goes to the background once mounted.
    bool runMounter(std::vector<std::string> args, std::string& why);
    std::string path_;
    int layers_ = 0;
    bool ownFolder_ = true;
    pid_t driver_ = -1;
    std::string loopDevice_;
    bool writesBack_ = false;  // unmounted in earnest, so that its driver writes everything back
    std::jthread resumer_;
};

// A FAT16 image, made in tree, of a folder A holding one file and eight
// folders of 500 files each: a walk that lasts long enough on fusefat to be
// caught in its middle. "" with the reason in why when the tools are missing.
std::string wideFatImage(const TempTree& tree, std::string& why);
// That image mounted by fusefat; null with the reason in why.
std::unique_ptr<TestMount> wideFatMount(const TempTree& tree, std::string& why);

// Whether the mount table lists path as a mount point.
bool isMountPoint(const std::string& path);

}  // namespace dorvelix::testing
