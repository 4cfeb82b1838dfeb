// dorvelix-report: the folder search of the window, without a display.
//   dorvelix-report [--convert N | --target PATH] [--folders [--depth N]] [--compare OLD] [--complete] [--json] [--] [FOLDER]
// Prints the drive panel of FOLDER's drive and the folder panel as the window
// shows them after a double-click on FOLDER (the current folder by default);
// with --complete counted without the window's limits, with --folders one
// row per top-level subfolder (and per folder down to N levels with --depth),
// with --target whether FOLDER fits on PATH's drive and what will not copy
// there, with --compare what changed per folder since the saved scan OLD.
// Exit status: 0 after a search that raised no message box, 1 after one that
// did, 2 for a usage error, a folder that cannot be opened, a drive without
// a medium, or output that cannot be written, 3 when FOLDER does not fit on
// the target or something will not copy there.

#include "cluster_lengths.h"
#include "compare_output.h"
#include "complete_walk.h"
#include "convert_length.h"
#include "copy_check.h"
#include "drive_info.h"
#include "drives.h"
#include "folder_search.h"
#include "session.h"
#include "report_output.h"
#include "report_texts.h"
#include "report_listener.h"
#include "report_options.h"
#include "messages.h"
#include "runtime_error.h"
#include "standard_output.h"
#include "target_check.h"
#include "target_drive.h"
#include "text.h"
#include "paths.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace dorvelix;

namespace {

// A message on standard error, led by the program's name. Its own line
// breaks stay; control characters in the names it quotes are escaped.
void printMessage(const QString& message)
{
    QStringList lines = message.split(CrLf);
    for (QString& line : lines)
        line = escapedControls(line);
    printLine(stderr, QLatin1String(report_text::Program) + QStringLiteral(": ") + lines.join(CrLf));
}

[[noreturn]] void fail(const QString& message)
{
    printMessage(message);
    std::exit(2);
}

// The folder to search as an absolute, normalised path without a trailing
// "/" (but "/" itself); the current folder when none was given.
std::string resolveFolder(const std::string& given)
{
    std::error_code ec;
    const std::filesystem::path current = std::filesystem::current_path(ec);
    if (ec && (given.empty() || given.front() != '/'))
        fail(report_text::CurrentFolderUnreadable.arg(QString::fromStdString(ec.message())));
    std::filesystem::path p = given.empty() ? current : current / given;
    return withoutTrailingSlashes(p.lexically_normal().native());
}

[[noreturn]] void cannotOpen(const std::string& folder, const RuntimeError& e)
{
    fail(report_text::CannotOpenFolder.arg(displayText(folder), errorDescription(e)));
}

// The folder to search, read once as the first touch of its drive: a drive
// that does not answer in time leaves the scan empty with error 71.
struct StartFolder {
    std::shared_ptr<const FolderScan> scan;
    std::optional<RuntimeError> error;
};

StartFolder readStartFolder(const std::string& folder)
{
    try {
        return {FolderScan::readInTime(folder), std::nullopt};
    } catch (const RuntimeError& e) {
        return {nullptr, e};
    }
}

// Queries the drive that holds folder, as the window does at start-up: the
// drive panel, ClusterLength and the conversion length come from it. A drive
// without a medium, or one that did not answer the folder's first read in
// time, ends the report with the message box's text.
void queryDrive(DriveQuery& query, const ReportListener& heard, const std::string& folder, const StartFolder& start,
                const QString& driveText)
{
    // A folder that does not exist cannot be opened, whichever drive it names.
    if (start.error && (start.error->cause() == ENOENT || start.error->cause() == ENOTDIR))
        cannotOpen(folder, *start.error);
    if (!query.showDriveInfo(driveText))
        fail(heard.messages.isEmpty() ? QString(report_text::NoMedium) : heard.messages.last());
    if (start.error)
        cannotOpen(folder, *start.error);
}

// The drive that the folder at path is to be copied to, asked before the
// folder's own drive; a target that cannot take a copy ends the report.
TargetCheck queryTargetDrive(const std::string& path)
{
    using namespace report_text;
    TargetCheck check = queryCopyTarget(path, systemVolumes());
    switch (check.outcome) {
    case TargetCheck::Outcome::NoMedium:
        fail(TargetNoMedium.arg(driveTextOf(path)));
    case TargetCheck::Outcome::TargetUnreadable:
        fail(CannotOpenTarget.arg(displayText(path), check.error));
    case TargetCheck::Outcome::NoClusterLength:
        fail(TargetNoClusterLength.arg(check.drive->text));
    case TargetCheck::Outcome::NotADrive:
        fail(TargetNotADrive.arg(displayText(path), check.error));
    default:
        return check;
    }
}

// A complete walk holds one open folder per level: let deep trees have as
// many open folders as the system allows this process.
void allowDeepWalks()
{
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// How long a drive may go without answering before the walk gives it up:
// ten seconds, or for the tests DORVELIX_STALL_LIMIT_MS milliseconds (at
// least 100).
std::chrono::milliseconds stallLimitFromEnvironment()
{
    bool ok = false;
    const int limit = qEnvironmentVariableIntValue("DORVELIX_STALL_LIMIT_MS", &ok);
    return std::chrono::milliseconds(ok && limit >= 100 ? limit : 10000);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const ParsedCommandLine command = parseReportOptions({argv + std::min(argc, 1), argv + argc});
    switch (command.action) {
    case ParsedCommandLine::Action::UsageError:
        fail(command.text);
    case ParsedCommandLine::Action::Help:
    case ParsedCommandLine::Action::Version:
        std::fputs(command.text.toUtf8().constData(), stdout);
        return closeStandardOutput(QLatin1String(report_text::Program), 0);
    case ParsedCommandLine::Action::Run:
        break;
    }
    ReportOptions options = command.options;
    options.folder = resolveFolder(options.folder);

    // The saved scan is read whole before any walk: one that cannot be
    // read ends the report at once.
    std::optional<SavedScan> saved;
    const QString savedFile = QString::fromUtf8(options.compare.data(), static_cast<qsizetype>(options.compare.size()));
    if (!options.compare.empty()) {
        try {
            saved = readSavedScan(options.compare);
        } catch (const SavedScanError& e) {
            fail(savedScanErrorText(savedFile, e));
        }
    }

    std::optional<TargetCheck> target;
    if (!options.target.empty())
        target = queryTargetDrive(resolveFolder(options.target));

    // The report is a client of the same session as the window, without a
    // display: it hears the message boxes and reads the figures at the end.
    const QString driveText = driveTextOf(options.folder);
    ReportListener heard;
    Session session(heard, heard, systemVolumes(), [&] { return driveText; });
    session.startSearching();
    // The benchmark compares the walk with read-ahead against one without.
    const bool readAhead = !qEnvironmentVariableIsSet("DORVELIX_NO_READ_AHEAD");
    session.search().setReadAhead(readAhead);
    // The tests of a drive that stops answering run with a short stall limit.
    const std::chrono::milliseconds stallLimit = stallLimitFromEnvironment();
    session.search().stallLimit = stallLimit;
    // The report shows no file list: nothing needs a folder's files sorted
    // unless a message about one of them must come in list order.
    session.search().setSortFilesAhead(false);
    DriveQuery& drive = session.driveQuery();
    const StartFolder start = readStartFolder(options.folder);
    queryDrive(drive, heard, options.folder, start, driveText);
    if (options.convert)
        session.pickConvertLength(convertIndexOf(*options.convert));

    heard.onMessage = printMessage;
    SearchResult complete;
    std::optional<AllLengths> allLengths;
    if (options.complete) {
        const long long clusterLength = drive.figures().searchClusterLength.value_or(0);
        if (clusterLength <= 0)
            fail(report_text::DriveNoClusterLength.arg(driveText));
        allowDeepWalks();
        if (target) {
            countCopy(*target, options.folder, resolveFolder(options.target), nullptr,
                      {clusterLength, [&](const QString& m) { heard.messageBox(m); }, start.scan, readAhead, stallLimit});
            // A folder that could not be opened at all ends the report; a
            // drive that stopped in the middle of the walk (no error of its
            // own) is printed with what was counted, as the other modes do.
            if (target->outcome == TargetCheck::Outcome::FolderUnreadable
                || (target->outcome == TargetCheck::Outcome::DriveStopped && !target->error.isEmpty()))
                fail(report_text::CannotOpenFolder.arg(displayText(options.folder), target->error));
            complete = target->search;
        } else {
            const long long convertLength =
                options.convert ? *options.convert : drive.figures().convertLength.value_or(clusterLength);
            if (options.lengths)
                allLengths.emplace();
            CompleteWalk walk(clusterLength, convertLength, [&](const QString& m) { heard.messageBox(m); },
                              allLengths ? &*allLengths : nullptr);
            walk.setReadAhead(readAhead);
            walk.stallLimit = stallLimit;
            walk.setKeepTree(options.depth > 1 || saved);
            try {
                complete = walk.run(options.folder, start.scan);
            } catch (const RuntimeError& e) {
                cannotOpen(options.folder, e);
            }
        }
    } else {
        // Opening the folder searches it, as a double-click does.
        session.openScan(start.scan);
    }
    // The folder as the folder list shows it in every mode: a drive's root
    // with its "/".
    const QString shownFolder = displayText(start.scan->path());
    const SearchResult& result = options.complete ? complete : session.search().result();
    if (saved) {
        const ScanDifference difference = compareScans(*saved, result);
        if (options.json)
            printDifferenceJson(difference, *saved, savedFile, shownFolder, heard.messages);
        else
            printDifference(difference, *saved, savedFile);
        const int status = closeStandardOutput(QLatin1String(report_text::Program), heard.messages.isEmpty() ? 0 : 1);
        std::fclose(stderr);
        return status;
    }
    ReportData data{drive.figures(), result, shownFolder, heard.messages, options.folders, options.depth,
                    target ? &*target : nullptr};
    if (allLengths)
        data.lengths = LengthsAnswer{allLengths->figures(), allLengths->fileBytes(), allLengths->largestFile(), options.capacity};
    if (options.json)
        printJson(data);
    else
        printText(data);
    int status = heard.messages.isEmpty() ? 0 : 1;
    if (data.target && (!data.target->fits() || !data.target->blocked.empty()))
        status = 3;
    status = closeStandardOutput(QLatin1String(report_text::Program), status);
    // A walk that gave up a drive which stopped answering may leave a thread
    // in a call to it that the kernel ends only when the drive answers; the
    // process's files stay open until then. Standard error is closed here so
    // that whoever reads the report sees its end now.
    std::fclose(stderr);
    return status;
}
