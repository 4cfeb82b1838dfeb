// The reader: a small process of this program that lists and measures the
// folders of a drive whose driver can stop answering (FUSE, a network file
// system), on request over two pipes. A call the driver does not answer
// then holds up the reader alone: the process that walks leaves it behind
// and ends normally, which it could not while one of its own threads waited
// in the kernel for such a call. The reader only reads (without updating
// access times where the system allows), has neither the caller's standard
// output nor its standard error, and ends by itself once the caller's end of
// the pipes is closed and the drive answers again.
#pragma once

#include "folder_scan.h"

#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>

namespace dorvelix {

class ReaderProcess {
public:
    // Starts the reader installed beside the running program (or beside it
    // in the build tree); null when there is none or it cannot be started.
    static std::unique_ptr<ReaderProcess> start();
    // Closes the pipes and leaves the reader to end; never waits for it.
    ~ReaderProcess();
    ReaderProcess(const ReaderProcess&) = delete;
    ReaderProcess& operator=(const ReaderProcess&) = delete;

    // Asked about every tenth of a second while an answer is awaited: true
    // ends the wait (the reader is then of no further use).
    using Stop = std::function<bool()>;
    // Called at each sign of life of the reader: a listing or a length read.
    using Alive = std::function<void()>;
    // The folder at path with the length of every file read, as
    // FolderScan::read (parent as there). Throws the folder's RuntimeError,
    // and 71 when the reader has ended; null when stop ended the wait.
    std::shared_ptr<FolderScan> readFolder(const std::string& path, const FolderScan* parent, bool keepCreationOrder,
                                           const Stop& stop, const Alive& alive);
    // Reads the length of every file of a folder this process read itself.
    // Throws as readFolder; false when stop ended the wait.
    bool measure(const FolderScan& folder, const Stop& stop, const Alive& alive);

    // The requests and answers on the pipes. A request is its size (32 bits)
    // and that many bytes: a kind, then its fields. An answer is a kind, its
    // size and that many bytes.
    enum Kind : char {
        ReadFolder = 'R',     // request: keepCreationOrder (1 byte), the path
        MeasureFolder = 'M',  // request: the path, the count of names, the names
        StillReading = 'P',   // answer: nothing, a sign of life
        Scan = 'S',           // answer: FolderScan::appendTo
        Lengths = 'L',        // answer: FolderScan::appendLengthsTo
        Failed = 'E',         // answer: the RuntimeError's number and cause
    };

private:
    ReaderProcess() = default;
    // Sends a request and waits for its answer (not a sign of life);
    // false when stop ended the wait.
    bool ask(const std::string& request, char& kind, std::string& answer, const Stop& stop, const Alive& alive);
    pid_t pid_ = -1;
    int toReader_ = -1;
    int fromReader_ = -1;
    bool broken_ = false;  // a wait was ended, or the reader has gone
};

}  // namespace dorvelix
