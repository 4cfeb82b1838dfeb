// What the kept tree of counted folders costs: walks each FOLDER once as
// dorvelix-report --complete --depth does, keeping every folder with its
// figures, and prints the tree's bytes per folder, split into the fixed part
// (goal: at most 64 bytes) and its names.
//
//   dorvelix-bench-tree-memory FOLDER...
#include "complete_walk.h"
#include "counted_tree.h"

#include <QCoreApplication>
#include <chrono>
#include <cstdio>

using namespace dorvelix;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        CompleteWalk walk(4096, 32768, nullptr);
        walk.setKeepTree(true);
        const auto start = std::chrono::steady_clock::now();
        SearchResult r;
        try {
            r = walk.run(argv[i]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: cannot walk %s\n", argv[0], argv[i]);
            status = 2;
            continue;
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const CountedTree& tree = *r.tree;
        std::size_t names = 0;
        for (CountedTree::Index f = 0; f < tree.size(); ++f)
            names += tree.name(f).size();
        const double perFolder = double(tree.memoryBytes()) / tree.size();
        const double namesPerFolder = double(names) / tree.size();
        std::printf("%s: %u folders kept in %.2f s, %zu bytes: %.1f bytes per folder = %.1f fixed (goal: <= 64) "
                    "+ %.1f of its name\n",
                    argv[i], tree.size(), seconds, tree.memoryBytes(), perFolder, perFolder - namesPerFolder,
                    namesPerFolder);
        if (perFolder - namesPerFolder > 64)
            status = 1;
    }
    return status;
}
