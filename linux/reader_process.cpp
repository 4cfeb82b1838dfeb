#include "reader_process.h"

#include "runtime_error.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace dorvelix {

namespace {

// Readers left behind that have not been reaped yet: each is reaped once it
// has ended, at the next start or end of a reader.
std::mutex leftBehindMutex;
std::vector<pid_t> leftBehind;

void reapLeftBehind()
{
    const std::lock_guard lock(leftBehindMutex);
    std::erase_if(leftBehind, [](pid_t pid) { return ::waitpid(pid, nullptr, WNOHANG) != 0; });
}

// The reader beside the running program: in the folder the installation
// puts it in, relative to the programs' folder; the build tree keeps the
// same layout.
std::string readerPath()
{
    char self[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0)
        return {};
    std::string path(self, static_cast<size_t>(n));
    path.resize(path.rfind('/') + 1);
    path += DORVELIX_READER_FROM_PROGRAMS "/dorvelix-reader";
    return ::access(path.c_str(), X_OK) == 0 ? path : std::string();
}

template <class T>
void put(std::string& bytes, const T& value)
{
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void putText(std::string& bytes, std::string_view text)
{
    put(bytes, static_cast<std::uint32_t>(text.size()));
    bytes.append(text);
}

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::unique_ptr<ReaderProcess> ReaderProcess::start()
{
    reapLeftBehind();
    static const std::string path = readerPath();
    if (path.empty())
        return nullptr;
    int requests[2];
    int answers[2];
    if (::pipe2(requests, O_CLOEXEC) != 0)
        return nullptr;
    if (::pipe2(answers, O_CLOEXEC) != 0) {
        ::close(requests[0]);
        ::close(requests[1]);
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, requests[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, answers[1], STDOUT_FILENO);
    // Not the caller's standard error: whoever reads it sees its end when
    // the caller ends, whatever the reader waits for.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    char* const argv[] = {const_cast<char*>(path.c_str()), nullptr};
    char* const envp[] = {nullptr};
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, path.c_str(), &actions, &attributes, argv, envp);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(requests[0]);
    ::close(answers[1]);
    if (spawned != 0) {
        ::close(requests[1]);
        ::close(answers[0]);
        return nullptr;
    }
    std::unique_ptr<ReaderProcess> reader(new ReaderProcess);
    reader->pid_ = pid;
    reader->toReader_ = requests[1];
    reader->fromReader_ = answers[0];
    return reader;
}

ReaderProcess::~ReaderProcess()
{
    ::close(toReader_);
    ::close(fromReader_);
    if (::waitpid(pid_, nullptr, WNOHANG) == 0) {
        const std::lock_guard lock(leftBehindMutex);
        leftBehind.push_back(pid_);
    }
}

bool ReaderProcess::ask(const std::string& request, char& kind, std::string& answer, const Stop& stop,
                        const Alive& alive)
{
    if (broken_)
        throw RuntimeError(err::DiskNotReady, err::FolderQuery, ETIMEDOUT);
    std::string framed;
    put(framed, static_cast<std::uint32_t>(request.size()));
    framed += request;
    // A request is small beside the pipe's room, but a folder's names may
    // not be: the reader reads them whole before it calls on the drive.
    if (!writeAll(toReader_, framed.data(), framed.size())) {
        broken_ = true;
        throw RuntimeError(err::DiskNotReady, err::FolderQuery, EPIPE);
    }
    std::string received;
    char buffer[65536];
    for (;;) {
        // Whole answers first: signs of life, then the answer itself.
        while (received.size() >= 5) {
            std::uint32_t size = 0;
            std::memcpy(&size, received.data() + 1, sizeof size);
            if (received.size() < 5 + size)
                break;
            kind = received[0];
            if (kind != StillReading) {
                answer.assign(received, 5, size);
                return true;
            }
            received.erase(0, 5 + size);
        }
        if (stop && stop()) {
            broken_ = true;
            return false;
        }
        pollfd wait{fromReader_, POLLIN, 0};
        const int ready = ::poll(&wait, 1, 100);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready == 0)
            continue;
        const ssize_t n = ::read(fromReader_, buffer, sizeof buffer);
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0) {
            broken_ = true;
            throw RuntimeError(err::DiskNotReady, err::FolderQuery, EPIPE);
        }
        received.append(buffer, static_cast<size_t>(n));
        if (alive)
            alive();
    }
}

namespace {

[[noreturn]] void raiseFailure(char kind, const std::string& answer)
{
    std::int32_t number = err::DiskNotReady;
    std::int32_t cause = EPROTO;
    if (kind == ReaderProcess::Failed && answer.size() == 2 * sizeof(std::int32_t)) {
        std::memcpy(&number, answer.data(), sizeof number);
        std::memcpy(&cause, answer.data() + sizeof number, sizeof cause);
    }
    throw RuntimeError(number, number == err::FileNotFound || number == err::BadFileName ? err::LengthQuery
                                                                                         : err::FolderQuery,
                       cause);
}

}  // namespace

std::shared_ptr<FolderScan> ReaderProcess::readFolder(const std::string& path, const FolderScan* parent,
                                                      bool keepCreationOrder, const Stop& stop, const Alive& alive)
{
    std::string request(1, ReadFolder);
    put(request, static_cast<unsigned char>(keepCreationOrder));
    putText(request, path);
    char kind = 0;
    std::string answer;
    if (!ask(request, kind, answer, stop, alive))
        return nullptr;
    if (kind == Scan) {
        if (auto scan = FolderScan::fromBytes(answer, parent))
            return scan;
    }
    raiseFailure(kind, answer);
}

bool ReaderProcess::measure(const FolderScan& folder, const Stop& stop, const Alive& alive)
{
    std::string request(1, MeasureFolder);
    putText(request, folder.path());
    put(request, static_cast<std::uint32_t>(folder.files().size()));
    for (const FolderEntry& file : folder.files())
        putText(request, folder.name(file));
    char kind = 0;
    std::string answer;
    if (!ask(request, kind, answer, stop, alive))
        return false;
    if (kind == Lengths && folder.takeLengths(answer))
        return true;
    raiseFailure(kind, answer);
}

}  // namespace dorvelix
