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
#include "json_writer.h"
#include "number_format.h"
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

void printLine(FILE* to, const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QByteArray bytes = t.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
    std::fputc('\n', to);
}

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

struct PanelRow {
    const char* caption;
    int box;
};

void printDrivePanel(const RecordingWindow& w)
{
    printLine(stdout, QStringLiteral("ドライブ情報"));
    printLine(stdout, QStringLiteral("  ドライブ ：") + w.box(1) + QStringLiteral("  ") + w.box(13));
    const PanelRow rows[] = {{"ﾊﾞｲﾄ/ｾｸﾀ(ﾊﾞｲﾄ) ：", 2}, {"セクタ／クラスタ ：", 3}, {"クラスタ長(ﾊﾞｲﾄ) ：", 9},
                             {"全クラスタ数 ： ", 4}, {"全容量(ﾊﾞｲﾄ) ：", 6}, {"占有クラスタ数 ：", 35},
                             {"占有バイト数 ：", 36}, {"空きクラスタ数 ：", 5}, {"空き容量(ﾊﾞｲﾄ) ：", 7},
                             {"空き容量率（％）：", 8}};
    for (const PanelRow& r : rows)
        printLine(stdout, QStringLiteral("  ") + QString::fromUtf8(r.caption) + w.box(r.box));
}

void printFolderPanel(const RecordingWindow& w, const std::string& folder)
{
    printLine(stdout, QStringLiteral("ホルダー情報  ") + displayText(folder));
    const PanelRow alone[] = {{"ﾌｧｲﾙ数 ：", 31}, {"占有クラスタ数 ：", 30}, {"占有バイト数 ：", 32}};
    const PanelRow subtree[] = {{"ホルダ数 ：", 10}, {"ファイル数 ：", 11}, {"占有クラスタ数 ：", 28}, {"占有バイト数 ：", 29}};
    const PanelRow converted[] = {{"占有クラスタ数 ：", 33}, {"占有バイト数 ：", 34}};
    const auto rows = [&](const auto& table) {
        for (const PanelRow& r : table)
            printLine(stdout, QStringLiteral("  ") + QString::fromUtf8(r.caption) + w.box(r.box));
    };
    rows(alone);
    printLine(stdout, QStringLiteral("含むサブホルダ") + w.box(12));
    rows(subtree);
    printLine(stdout, QStringLiteral("換算クラスタ長") + w.box(37));
    rows(converted);
}

void printJson(const FormState& f, const RecordingWindow& w, const DriveQuery& drive, const QString& driveText,
               const std::string& folder, const FolderSearch::FolderAlone& alone)
{
    JsonWriter j;
    j.beginObject();
    j.beginObject("drive");
    j.value("cluster_length", static_cast<long long>(f.ClusterLength));
    j.value("text", driveText);
    j.value("file_system", drive.shownFileSystem());
    // Each figure as its value box shows it; null where the query left the box unfilled.
    const std::pair<const char*, int> figures[] = {
        {"bytes_per_sector", 2}, {"sectors_per_cluster", 3}, {"total_clusters", 4}, {"total_bytes", 6},
        {"used_clusters", 35}, {"used_bytes", 36}, {"free_clusters", 5}, {"free_bytes", 7}};
    for (const auto& [key, box] : figures) {
        if (const auto n = drive.shownNumber(box))
            j.value(key, static_cast<long long>(*n));
        else
            j.null(key);
    }
    if (const auto ratio = drive.shownFreeRatio())
        j.value("free_ratio", *ratio);
    else
        j.null("free_ratio");
    j.endObject();
    j.beginObject("folder");
    j.value("path", displayText(folder));
    j.value("files", alone.files);
    j.value("clusters", alone.clusters);
    j.value("bytes", alone.clusters * f.ClusterLength);
    j.endObject();
    j.beginObject("subtree");
    j.value("folders", static_cast<long long>(f.TreeFolders));
    j.value("files", static_cast<long long>(f.TreeFiles));
    j.value("clusters", static_cast<long long>(f.TreeClusterCount));
    j.value("bytes", static_cast<long long>(f.TreeClusterCount) * f.ClusterLength);
    j.endObject();
    j.beginObject("converted");
    j.value("cluster_length", static_cast<long long>(f.ConvertLength));
    j.value("clusters", static_cast<long long>(f.TreeConvertClusterCount));
    j.value("bytes", static_cast<long long>(f.TreeConvertClusterCount) * f.ConvertLength);
    j.endObject();
    j.beginArray("messages");
    for (const QString& m : w.messages)
        j.element(m);
    j.endArray();
    j.endObject();
    std::fwrite(j.text().data(), 1, j.text().size(), stdout);
    std::fputc('\n', stdout);
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
    if (options.json) {
        printJson(form, window, drive, driveText, Dir1.path(), search.folderAlone());
    } else {
        printDrivePanel(window);
        printFolderPanel(window, Dir1.path());
    }
    return window.messages.isEmpty() ? 0 : 1;
}
