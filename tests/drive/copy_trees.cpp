#include "copy_trees.h"

#include <QJsonDocument>

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace dorvelix::testing {

std::string numbered(const char* pattern, long long i)
{
    char name[300];
    std::snprintf(name, sizeof name, pattern, i);
    return name;
}

std::map<std::string, Tree> copyTrees(bool fifo)
{
    std::map<std::string, Tree> all;
    for (int i = 0; i < 2000; ++i)
        all["empty"].push_back({numbered("copy/empty_file_%08d", i)});
    // Around the inline limits: btrfs 2,048 and a sector; f2fs 3,344
    // (sload.f2fs) and 3,488 (the kernel).
    for (long long size : {0, 1, 2, 100, 1000, 2047, 2048, 2049, 3000, 3344, 3345, 3488, 3489, 4095, 4096, 4097, 8193})
        all["tiny"].push_back({numbered("copy/size_%05lld", size), size});
    for (int n = 1; n <= 120; n += 7)
        all["tiny"].push_back({"copy/names/" + std::string(n, 'n'), 700});
    Tree& names = all["names"];
    for (const char* name :
         {"日本語のファイル名.txt", "Mixed Case Name.txt", "README.TXT", "readme.txt", "写真", "😀emoji"})
        names.push_back({std::string("copy/") + name, 100});
    std::string longJapanese;  // 255 bytes
    for (int i = 0; i < 85; ++i)
        longJapanese += "長";
    names.push_back({"copy/" + longJapanese, 10});
    names.push_back({"copy/" + std::string(255, 'L'), 10});
    names.push_back({"copy/サブフォルダ/深い/さらに深い/file", 5000});
    names.push_back({"copy/short_link", 0, "README.TXT"});
    names.push_back({"copy/long_link", 0, std::string(200, 'x')});
    if (fifo)
        names.push_back({"copy/a_fifo", -1});
    std::mt19937 random(31);
    const auto between = [&](long long low, long long high) {
        return std::uniform_int_distribution<long long>(low, high)(random);
    };
    for (int i = 0; i < 3000; ++i) {
        std::string name = numbered("copy/%05d_", i);
        for (long long n = between(5, 60) - 6; n > 0; --n)
            name += "abcdefghijklmnopqrstuvwxyz_-"[between(0, 27)];
        all["wide"].push_back({name, between(0, 300)});
    }
    // Folders four deep, files of every size up to 1 MB, most of them small.
    std::lognormal_distribution<double> sizes(7.5, 2.3);
    std::function<void(const std::string&, int)> mixed = [&](const std::string& folder, int depth) {
        all["mixed"].push_back({folder + "/"});
        for (long long i = between(3, 20); i > 0; --i)
            all["mixed"].push_back(
                {folder + numbered("/file_%lld.dat", i), static_cast<long long>(std::min(1e6, sizes(random)))});
        for (long long i = depth < 4 ? between(0, 3) : 0; i > 0; --i)
            mixed(folder + numbered("/dir_%lld", i), depth + 1);
    };
    for (int top = 0; top < 10; ++top)
        mixed(numbered("copy/top_%02d", top), 1);
    return all;
}

void create(const std::string& root, const Tree& tree, bool reverse)
{
    struct Node {
        const Entry* entry = nullptr;
        std::map<std::string, Node> children;
    };
    Node top;
    for (const Entry& e : tree) {
        Node* node = &top;
        for (size_t at = 0, slash; at < e.path.size(); at = slash + 1) {
            slash = std::min(e.path.find('/', at), e.path.size());
            node = &node->children[e.path.substr(at, slash - at)];
        }
        node->entry = &e;
    }
    std::function<void(const std::string&, const Node&)> make = [&](const std::string& path, const Node& node) {
        const Entry* e = node.entry;
        if (!e || !node.children.empty() || e->path.ends_with('/')) {
            ::mkdir(path.c_str(), 0755);
        } else if (!e->target.empty()) {
            ASSERT_EQ(::symlink(e->target.c_str(), path.c_str()), 0) << path;
        } else if (e->size < 0) {
            ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0) << path;
        } else {
            std::string content(static_cast<size_t>(e->size), 'A');
            for (size_t i = 0; i < content.size(); ++i)
                content[i] = static_cast<char>('A' + i % 26);
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            ASSERT_TRUE(fd >= 0 && ::write(fd, content.data(), content.size()) == e->size) << path;
            ::close(fd);
        }
        const auto visit = [&](const auto& child) { make(path + "/" + child.first, child.second); };
        if (reverse)
            std::for_each(node.children.rbegin(), node.children.rend(), visit);
        else
            std::for_each(node.children.begin(), node.children.end(), visit);
    };
    ::mkdir(root.c_str(), 0755);
    for (const auto& [name, node] : top.children)
        make(root + "/" + name, node);
}

std::unique_ptr<TestMount> freshVolume(const TempTree& images, const std::string& type, const std::string& size,
                                       std::vector<std::string> mkfs, std::string& why, const std::string& options)
{
    const std::string image = images.path(type + ".img");
    mkfs.insert(mkfs.begin(), {"mkfs." + type, "-q", type == "ext4" ? "-F" : "-f"});
    mkfs.push_back(image);
    ::unlink(image.c_str());
    if (runTool({"truncate", "-s", size, image}).status != 0 || runTool(mkfs).status != 0) {
        why = "mkfs." + type + " is missing (Debian packages e2fsprogs, btrfs-progs)";
        return nullptr;
    }
    return TestMount::kernel(image, type, why, options);
}

std::unique_ptr<TestMount> sourceVolume(const TempTree& images, std::string& why)
{
    return freshVolume(images, "ext4", "120M", {"-b", "4096", "-N", "16384"}, why);
}

QJsonObject targetOf(const std::string& target, const std::string& folder)
{
    const ToolRun run = runTool({DORVELIX_REPORT, "--json", "--target", target, folder});
    return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object()["target"].toObject();
}

}  // namespace dorvelix::testing
