// dorvelix-report: the folder search of the window, without a display.
//   dorvelix-report [--convert N] [--json] [--] [FOLDER]
// Prints the drive panel of FOLDER's drive and the folder panel as the window
// shows them after a double-click on FOLDER (the current folder by default).
// Exit status: 0 after a search that raised no message box, 1 after one that
// did, 2 for a usage error, a folder that cannot be opened, a drive without
// a medium, or output that cannot be written.

#include "convert_length.h"
#include "drive_info.h"
#include "drives.h"
#include "folder_search.h"
#include "report_output.h"
#include "recording_window.h"
#include "report_options.h"
#include "runtime_error.h"
#include "standard_output.h"
#include "text.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace dorvelix;

namespace {

// A message on standard error, led by the program's name.
void printMessage(const QString& message)
{
    printLine(stderr, QLatin1String(ReportProgram) + QStringLiteral(": ") + message);
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
        fail(QStringLiteral("the current folder cannot be read: %1").arg(QString::fromStdString(ec.message())));
    std::filesystem::path p = given.empty() ? current : current / given;
    std::string folder = p.lexically_normal().native();
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

[[noreturn]] void cannotOpen(const std::string& folder, const RuntimeError& e)
{
    fail(QStringLiteral("cannot open folder %1: %2").arg(displayText(folder), errorDescription(e)));
}

// Queries the drive that holds folder, as the window does at start-up: the
// drive panel, ClusterLength and the conversion length come from it. A drive
// without a medium ends the report with the message box's text.
void queryDrive(DriveQuery& query, const RecordingWindow& window, const std::string& folder, const QString& driveText)
{
    // A folder that does not exist cannot be opened, whichever drive it names.
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR))
        cannotOpen(folder, RuntimeError(err::PathNotFound, err::FolderQuery, errno));
    if (!query.ShowDriveInfo(driveText))
        fail(window.messages.isEmpty() ? QStringLiteral("no medium") : window.messages.last());
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
        return closeStandardOutput(QLatin1String(ReportProgram), 0);
    case ParsedCommandLine::Action::Run:
        break;
    }
    ReportOptions options = command.options;
    options.folder = resolveFolder(options.folder);

    FormState form;
    RecordingWindow window;
    FolderList Dir1;
    FileList File1;
    File1.showHidden = true;
    File1.showSystem = true;
    FolderSearch search(form, Dir1, File1, window, window);

    DriveQuery drive(form, window, window, systemVolumes());
    const QString driveText = driveTextOf(options.folder);
    queryDrive(drive, window, options.folder, driveText);
    if (options.convert)
        clustItem_Click(form, window, convertIndexOf(*options.convert));

    window.onMessage = printMessage;
    try {
        Dir1.setPath(options.folder);
    } catch (const RuntimeError& e) {
        cannotOpen(options.folder, e);
    }
    const ReportData data{drive.figures(), search.result(), displayText(Dir1.path()), window.messages};
    if (options.json)
        printJson(data);
    else
        printText(data);
    return closeStandardOutput(QLatin1String(ReportProgram), window.messages.isEmpty() ? 0 : 1);
}
