// dorvelix-report: the folder search of the window, without a display.
//   dorvelix-report [--convert N | --target PATH] [--folders] [--complete] [--json] [--] [FOLDER]
// Prints the drive panel of FOLDER's drive and the folder panel as the window
// shows them after a double-click on FOLDER (the current folder by default);
// with --complete counted without the window's limits, with --folders one
// row per top-level subfolder, with --target whether FOLDER fits on PATH's
// drive and what will not copy there.
// Exit status: 0 after a search that raised no message box, 1 after one that
// did, 2 for a usage error, a folder that cannot be opened, a drive without
// a medium, or output that cannot be written, 3 when FOLDER does not fit on
// the target or something will not copy there.

#include "cluster_lengths.h"
#include "complete_walk.h"
#include "convert_length.h"
#include "copy_check.h"
#include "drive_info.h"
#include "drives.h"
#include "folder_search.h"
#include "report_output.h"
#include "report_texts.h"
#include "recording_window.h"
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
void queryDrive(DriveQuery& query, const RecordingWindow& window, const std::string& folder, const StartFolder& start,
                const QString& driveText)
{
    // A folder that does not exist cannot be opened, whichever drive it names.
    if (start.error && (start.error->cause() == ENOENT || start.error->cause() == ENOTDIR))
        cannotOpen(folder, *start.error);
    if (!query.showDriveInfo(driveText))
        fail(window.messages.isEmpty() ? QString(report_text::NoMedium) : window.messages.last());
    if (start.error)
        cannotOpen(folder, *start.error);
}

// The drive that the folder at path is to be copied to.
TargetDrive queryTargetDrive(const std::string& path)
{
    using namespace report_text;
    // The target's drive is touched here for the first time: it may hang.
    const std::optional<int> answer = targetFolderCause(path);
    if (!answer)
        fail(TargetNoMedium.arg(driveTextOf(path)));
    if (const int cause = *answer; cause != 0)
        fail(CannotOpenTarget.arg(displayText(path),
                                  errorDescription(RuntimeError(err::PathNotFound, err::FolderQuery, cause))));
    const auto target = queryTarget(path, systemVolumes());
    if (!target)
        fail(TargetNoMedium.arg(driveTextOf(path)));
    if (target->clusterLength <= 0)
        fail(TargetNoClusterLength.arg(target->text));
    return *target;
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

    std::optional<TargetDrive> target;
    if (!options.target.empty())
        target = queryTargetDrive(resolveFolder(options.target));

    FormState form;
    RecordingWindow window;
    FolderList openFolders;
    FileList openFiles;
    openFiles.showHidden = true;
    openFiles.showSystem = true;
    FolderSearch search(form, openFolders, openFiles, window, window);
    // The benchmark compares the walk with read-ahead against one without.
    if (qEnvironmentVariableIsSet("DORVELIX_NO_READ_AHEAD"))
        search.setReadAhead(false);

    DriveQuery drive(form, window, window, systemVolumes());
    const QString driveText = driveTextOf(options.folder);
    const StartFolder start = readStartFolder(options.folder);
    queryDrive(drive, window, options.folder, start, driveText);
    if (options.convert)
        pickConvertLength(form, window, convertIndexOf(*options.convert));

    window.onMessage = printMessage;
    SearchResult complete;
    std::optional<TargetCount> targetCount;
    std::optional<AllLengths> allLengths;
    QString shownFolder;
    if (options.complete) {
        const long long clusterLength = drive.figures().searchClusterLength.value_or(0);
        const long long convertLength = target ? target->clusterLength
            : options.convert                  ? *options.convert
                                               : drive.figures().convertLength.value_or(clusterLength);
        if (clusterLength <= 0)
            fail(report_text::DriveNoClusterLength.arg(driveText));
        if (target)
            targetCount.emplace(*target);
        if (options.lengths)
            allLengths.emplace();
        allowDeepWalks();
        CompleteWalk walk(clusterLength, convertLength, [&](const QString& m) { window.messageBox(m); },
                          targetCount ? targetCount->observer() : allLengths ? &*allLengths : nullptr);
        walk.setEveryLinkConverted(target.has_value());
        walk.setReadAhead(!qEnvironmentVariableIsSet("DORVELIX_NO_READ_AHEAD"));
        try {
            complete = walk.run(options.folder, start.scan);
        } catch (const RuntimeError& e) {
            cannotOpen(options.folder, e);
        }
        shownFolder = displayText(options.folder);
    } else {
        openFolders.setScan(start.scan);
        shownFolder = displayText(openFolders.path());
    }
    ReportData data{drive.figures(), options.complete ? complete : search.result(), shownFolder, window.messages,
                    options.folders, std::nullopt};
    if (targetCount)
        data.target = TargetAnswer{*target, targetCount->neededBytes(data.search),
                                   targetCount->blocked(options.folder, resolveFolder(options.target)),
                                   targetCount->estimate()};
    if (allLengths)
        data.lengths = LengthsAnswer{allLengths->figures(), allLengths->fileBytes(), options.capacity};
    if (options.json)
        printJson(data);
    else
        printText(data);
    int status = window.messages.isEmpty() ? 0 : 1;
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
