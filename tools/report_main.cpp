// dorvelix-report: the folder search of the window, without a display.
//   dorvelix-report [--convert N] [--json] [FOLDER]
// Prints the drive panel of FOLDER's drive and the folder panel as the window
// shows them after a double-click on FOLDER (the current folder by default).
// Exit status: 0 after a search that raised no message box, 1 after one that
// did, 2 for a usage error, a folder that cannot be opened or a drive without
// a medium.

#include "convert_length.h"
#include "drive_info.h"
#include "drives.h"
#include "folder_search.h"
#include "report_output.h"
#include "recording_window.h"
#include "runtime_error.h"
#include "text.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace dorvelix;

namespace {

struct Options {
    std::optional<int> convert;
    bool json = false;
    std::string folder;
};

[[noreturn]] void fail(const QString& message)
{
    printLine(stderr, QStringLiteral("dorvelix-report: ") + message);
    std::exit(2);
}

Options parseOptions(int argc, char** argv)
{
    Options o;
    bool folderGiven = false;
    const QString usage = QStringLiteral("usage: dorvelix-report [--convert N] [--json] [FOLDER]");
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--json") {
            o.json = true;
        } else if (arg == "--convert" || arg.starts_with("--convert=")) {
            std::string value;
            if (arg == "--convert") {
                if (++i >= argc)
                    fail(usage);
                value = argv[i];
            } else {
                value = arg.substr(std::strlen("--convert="));
            }
            bool ok = false;
            const int n = QString::fromStdString(value).toInt(&ok);
            if (!ok || convertIndexOf(n) < 0)
                fail(QStringLiteral("--convert takes one of 128, 256, 512, 1024, 2048, 4096, 8192, 16384, 32768"));
            o.convert = n;
        } else if (arg == "--help" || arg == "-h") {
            printLine(stdout, usage);
            std::exit(0);
        } else if (arg.starts_with("-") && arg != "-" && !folderGiven) {
            fail(usage);
        } else if (!folderGiven) {
            o.folder = arg;
            folderGiven = true;
        } else {
            fail(usage);
        }
    }
    if (!folderGiven) {
        std::error_code ec;
        o.folder = std::filesystem::current_path(ec).native();
        if (ec)
            fail(QStringLiteral("the current folder cannot be read"));
    }
    std::filesystem::path p(o.folder);
    if (p.is_relative()) {
        std::error_code ec;
        p = std::filesystem::current_path(ec) / p;
    }
    o.folder = p.lexically_normal().native();
    while (o.folder.size() > 1 && o.folder.back() == '/')
        o.folder.pop_back();
    return o;
}

[[noreturn]] void cannotOpen(const std::string& folder, int errorNumber)
{
    fail(QStringLiteral("cannot open folder %1: %2").arg(displayText(folder), errorDescription(errorNumber)));
}

// Queries the drive that holds folder, as the window does at start-up: the
// drive panel, ClusterLength and the conversion length come from it. A drive
// without a medium ends the report with the message box's text.
void queryDrive(DriveQuery& query, const RecordingWindow& window, const std::string& folder, const QString& driveText)
{
    // A folder that does not exist cannot be opened, whichever drive it names.
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 && (errno == ENOENT || errno == ENOTDIR))
        cannotOpen(folder, err::PathNotFound);
    if (!query.ShowDriveInfo(driveText))
        fail(window.messages.isEmpty() ? QStringLiteral("no medium") : window.messages.last());
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const Options options = parseOptions(argc, argv);

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

    window.onMessage = [](const QString& text) { printLine(stderr, text); };
    try {
        Dir1.setPath(options.folder);
    } catch (const RuntimeError& e) {
        cannotOpen(options.folder, e.number());
    }
    const ReportData data{drive.figures(), search.result(), displayText(Dir1.path()), window.messages};
    if (options.json)
        printJson(data);
    else
        printText(data);
    return window.messages.isEmpty() ? 0 : 1;
}
