// Real folder trees for tests, built in a fresh temporary folder and removed
// afterwards.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace dorvelix::testing {

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    // The tree's top folder (absolute, no trailing "/").
    const std::string& root() const { return root_; }
    // root() + "/" + relative.
    std::string path(std::string_view relative) const;
    // Creates the folder (and its parents) below the top folder.
    std::string folder(std::string_view relative) const;
    // Creates a file of the given length (sparse: no disk space is used).
    std::string file(std::string_view relative, long long length = 0) const;
    // Creates a file holding exactly these bytes.
    std::string fileWith(std::string_view relative, std::string_view content) const;

private:
    std::string root_;
};

// Runs body in a child process as an unprivileged user (nobody), so that
// permissions stop it even when the tests run as root. Returns the child's
// exit status; body's return value becomes it. Returns -1 when no
// unprivileged user can be had.
int runUnprivileged(const std::function<int()>& body);

// Runs body as an unprivileged user like runUnprivileged and returns the text
// it produced; "no unprivileged user" when none can be had.
std::string captureUnprivileged(const std::function<std::string()>& body);

}  // namespace dorvelix::testing
