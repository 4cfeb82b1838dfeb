// dorvelix-bench-tree: builds the benchmark's folder trees, the same on every
// run (no randomness), with empty or sparse files so that they cost inodes
// but no data blocks.
//   dorvelix-bench-tree tree DEST [SCALE]   about SCALE × 1,000,000 entries
//   dorvelix-bench-tree wide DEST [COUNT]   one folder of COUNT files (100,000)
// The tree holds wide folders of 5,000 files, many small folders, middle-sized
// ones, chains deeper than the search's fifteen levels, hidden files at every
// depth, and long and non-ASCII names. DEST must not exist yet.

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

long long made = 0;

[[noreturn]] void die(const std::string& what)
{
    std::fprintf(stderr, "dorvelix-bench-tree: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(1);
}

void folder(const std::string& path)
{
    if (::mkdir(path.c_str(), 0755) != 0)
        die(path);
    ++made;
}

// A file of a length that depends on its number only: a third empty, the
// rest from a few bytes to a few megabytes (sparse).
void file(const std::string& path, unsigned n)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0)
        die(path);
    const unsigned h = n * 2654435761u;
    if (h % 3 != 0 && ::ftruncate(fd, static_cast<off_t>((h >> 8) % (h % 7 == 0 ? 4000000 : 20000) + 1)) != 0)
        die(path);
    ::close(fd);
    ++made;
}

// File names of several kinds: short ASCII, 8.3 upper case, longer than 12
// characters, non-ASCII (Japanese, three bytes a character), very long, and
// hidden.
std::string fileName(unsigned n)
{
    const std::string num = std::to_string(n);
    switch (n % 8) {
    case 0: return "f" + num;
    case 1: return "FILE" + num + ".TXT";
    case 2: return "a-rather-long-file-name-" + num + ".data";
    case 3: return "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xE3\x81\xAE\xE5\x90\x8D\xE5\x89\x8D" + num + ".txt";
    case 4: return "Mixed_Case_" + num;
    case 5: return std::string(120, 'x') + num;
    case 6: return "." + num + "hidden";
    default: return "caf\xC3\xA9-" + num;
    }
}

void files(const std::string& dir, unsigned count, unsigned& n)
{
    for (unsigned i = 0; i < count; ++i, ++n)
        file(dir + "/" + fileName(n), n);
}

void makeTree(const std::string& dest, double scale)
{
    const auto times = [&](unsigned base) { return static_cast<unsigned>(base * scale + 0.5); };
    unsigned n = 0;
    folder(dest);
    // Wide folders: 60 × 5,000 files.
    folder(dest + "/wide");
    for (unsigned w = 0; w < times(60); ++w) {
        const std::string d = dest + "/wide/w" + std::to_string(w);
        folder(d);
        files(d, 5000, n);
    }
    // Many small folders: 400 groups of 100 folders with 10 files each.
    folder(dest + "/small");
    for (unsigned g = 0; g < times(400); ++g) {
        const std::string group = dest + "/small/Group" + std::to_string(g);
        folder(group);
        for (unsigned s = 0; s < 100; ++s) {
            const std::string d = group + "/s" + std::to_string(s);
            folder(d);
            files(d, 10, n);
        }
    }
    // Middle-sized folders: 370 of 500 files, two levels down.
    folder(dest + "/middle");
    for (unsigned m = 0; m < times(370); ++m) {
        const std::string d = dest + "/middle/m" + std::to_string(m % 10) + "/"
            + "\xE3\x83\x95\xE3\x82\xA9\xE3\x83\xAB\xE3\x83\x80" + std::to_string(m);
        if (m < 10)
            folder(dest + "/middle/m" + std::to_string(m));
        folder(d);
        files(d, 500, n);
    }
    // Deep chains: 200 chains of 18 folders with 20 files each; their three
    // deepest folders lie below the fifteenth level.
    folder(dest + "/deep");
    for (unsigned c = 0; c < times(200); ++c) {
        std::string d = dest + "/deep/chain" + std::to_string(c);
        for (unsigned level = 0; level < 18; ++level) {
            folder(d);
            files(d, 20, n);
            d += "/level" + std::to_string(level + 1);
        }
    }
}

void makeWide(const std::string& dest, unsigned count)
{
    unsigned n = 0;
    folder(dest);
    files(dest, count, n);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 4 || (std::strcmp(argv[1], "tree") != 0 && std::strcmp(argv[1], "wide") != 0)) {
        std::fprintf(stderr, "usage: dorvelix-bench-tree tree|wide DEST [SCALE|COUNT]\n");
        return 2;
    }
    const std::string dest = argv[2];
    if (std::strcmp(argv[1], "tree") == 0)
        makeTree(dest, argc == 4 ? std::atof(argv[3]) : 1.0);
    else
        makeWide(dest, argc == 4 ? static_cast<unsigned>(std::atoi(argv[3])) : 100000);
    std::printf("%lld entries\n", made);
    return 0;
}
