// dorvelix-reader: lists and measures folders for a walk of this program
// on a drive that may stop answering (see reader_process.h). Requests come
// on standard input, answers go to standard output; it ends when its
// standard input ends or its answers can no longer be written.
#include "folder_scan.h"
#include "reader_process.h"
#include "runtime_error.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <new>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace dorvelix;

namespace {

std::mutex answerMutex;
// Lengths read so far: with the listings read, the reader's sign of life.
std::atomic<std::uint64_t> lengthsRead{0};

bool readAll(int fd, char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::read(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Sends one answer; the caller is gone when it cannot be written.
void answer(char kind, std::string_view payload)
{
    std::string framed(1, kind);
    const auto size = static_cast<std::uint32_t>(payload.size());
    framed.append(reinterpret_cast<const char*>(&size), sizeof size);
    framed.append(payload);
    const std::lock_guard lock(answerMutex);
    const char* data = framed.data();
    size_t left = framed.size();
    while (left > 0) {
        const ssize_t n = ::write(STDOUT_FILENO, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            _exit(0);
        data += n;
        left -= static_cast<size_t>(n);
    }
}

void answerFailure(const RuntimeError& e)
{
    const std::int32_t fields[2]{e.number(), e.cause()};
    answer(ReaderProcess::Failed, {reinterpret_cast<const char*>(fields), sizeof fields});
}

// Tells the caller, a few times a second, that the drive still answers.
void signsOfLife()
{
    std::uint64_t seen = 0;
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        const std::uint64_t now = FolderScan::listingsRead() + lengthsRead.load(std::memory_order_relaxed);
        if (now != seen)
            answer(ReaderProcess::StillReading, {});
        seen = now;
    }
}

class Fields {
public:
    explicit Fields(std::string_view bytes) : rest_(bytes) {}
    template <class T>
    bool take(T& value)
    {
        if (rest_.size() < sizeof value)
            return false;
        std::memcpy(&value, rest_.data(), sizeof value);
        rest_.remove_prefix(sizeof value);
        return true;
    }
    bool takeText(std::string& text)
    {
        std::uint32_t size = 0;
        if (!take(size) || rest_.size() < size)
            return false;
        text.assign(rest_.substr(0, size));
        rest_.remove_prefix(size);
        return true;
    }

private:
    std::string_view rest_;
};

// The folders of the branch being walked, each open, so that a subfolder is
// opened relative to its parent as the walk in the caller would.
std::vector<std::shared_ptr<FolderScan>> branch;

bool isChildOf(const std::string& path, const FolderScan& folder)
{
    const std::string& parent = folder.path();  // a root's path ends with "/"
    const size_t from = parent.size() + (folder.isRoot() ? 0 : 1);
    return path.size() > from && path.compare(0, parent.size(), parent) == 0
        && (folder.isRoot() || path[parent.size()] == '/') && path.find('/', from) == std::string::npos;
}

void readFolder(Fields& fields)
{
    unsigned char keepCreationOrder = 0;
    std::string path;
    if (!fields.take(keepCreationOrder) || !fields.takeText(path))
        return answerFailure(RuntimeError(err::PathNotFound, err::FolderQuery, EINVAL));
    while (!branch.empty() && !isChildOf(path, *branch.back()))
        branch.pop_back();
    std::shared_ptr<FolderScan> scan;
    try {
        scan = FolderScan::read(path, branch.empty() ? nullptr : branch.back().get(), {}, keepCreationOrder != 0);
        const auto count = static_cast<std::uint32_t>(scan->files().size());
        for (std::uint32_t from = 0; from < count; from += 64) {
            scan->queryLengths(from, std::min(count, from + 64), true);
            lengthsRead.fetch_add(1, std::memory_order_relaxed);
        }
    } catch (const RuntimeError& e) {
        return answerFailure(e);
    } catch (const std::bad_alloc&) {
        return answerFailure(RuntimeError(err::OutOfMemory));
    }
    std::string bytes;
    scan->appendTo(bytes);
    branch.push_back(std::move(scan));
    answer(ReaderProcess::Scan, bytes);
}

void measureFolder(Fields& fields)
{
    std::string path;
    std::uint32_t count = 0;
    if (!fields.takeText(path) || !fields.take(count))
        return answerFailure(RuntimeError(err::PathNotFound, err::FolderQuery, EINVAL));
    const int fd = openReadOnly(AT_FDCWD, path.c_str(), O_DIRECTORY | O_NOFOLLOW);
    if (fd < 0)
        return answerFailure(RuntimeError(folderErrorNumber(errno), err::FolderQuery, errno));
    std::vector<long long> lengths(count);
    std::vector<std::pair<std::uint32_t, FileIdentity>> links;
    std::string name;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (!fields.takeText(name))
            break;
        struct stat st;
        lengths[i] = ::fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? static_cast<long long>(st.st_size)
                                                                                : -errno;
        if (lengths[i] >= 0 && st.st_nlink > 1)
            links.push_back({i, FileIdentity{st.st_dev, st.st_ino}});
        if (i % 64 == 63)
            lengthsRead.fetch_add(1, std::memory_order_relaxed);
    }
    ::close(fd);
    std::string bytes;
    appendLengths(bytes, lengths, links);
    answer(ReaderProcess::Lengths, bytes);
}

}  // namespace

int main()
{
    // Whatever folder it was started in, the reader holds none of it.
    if (::chdir("/") != 0)
        return 1;
    std::signal(SIGPIPE, SIG_IGN);
    std::thread(signsOfLife).detach();
    std::string request;
    for (;;) {
        std::uint32_t size = 0;
        if (!readAll(STDIN_FILENO, reinterpret_cast<char*>(&size), sizeof size))
            _exit(0);
        request.resize(size);
        if (!readAll(STDIN_FILENO, request.data(), size) || size == 0)
            _exit(0);
        Fields fields(std::string_view(request).substr(1));
        switch (request[0]) {
        case ReaderProcess::ReadFolder: readFolder(fields); break;
        case ReaderProcess::MeasureFolder: measureFolder(fields); break;
        default: _exit(2);
        }
    }
}
