// dorvelix-report: the folder search of the window, without a display.
//   dorvelix-report [--convert N] [--json] [FOLDER]
// Prints the folder panel as the window shows it after a double-click on
// FOLDER (the current folder by default). Exit status: 0 after a search that
// raised no message box, 1 after one that did, 2 for a usage error or a
// folder that cannot be opened.

#include "convert_length.h"
#include "folder_search.h"
#include "json_writer.h"
#include "number_format.h"
#include "recording_window.h"
#include "runtime_error.h"
#include "text.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/statvfs.h>
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

// The drive's cluster length as the file system gives it.
void queryDrive(FormState& form, FormView& view, const std::string& folder)
{
    struct statvfs vfs {};
    if (::statvfs(folder.c_str(), &vfs) != 0)
        fail(QStringLiteral("no medium: the file system of %1 cannot be read").arg(displayText(folder)));
    form.ClusterLength = static_cast<std::int32_t>(vfs.f_frsize);
    form.ConvertLength = form.ClusterLength;
    form.EntriesPerCluster = form.ClusterLength / 32;
    form.ConvertEntriesPerCluster = form.ConvertLength / 32;
    view.setBoxText(12, formatNumber(static_cast<long long>(form.ClusterLength)));
    view.setBoxText(37, formatNumber(static_cast<long long>(form.ConvertLength)));
}

struct PanelRow {
    const char* caption;
    int box;
};

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

void printJson(const FormState& f, const RecordingWindow& w, const std::string& folder,
               const FolderSearch::FolderAlone& alone)
{
    JsonWriter j;
    j.beginObject();
    j.beginObject("drive");
    j.value("cluster_length", static_cast<long long>(f.ClusterLength));
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

    queryDrive(form, window, options.folder);
    if (options.convert)
        clustItem_Click(form, window, convertIndexOf(*options.convert));

    window.onMessage = [](const QString& text) { printLine(stderr, text); };
    try {
        Dir1.setPath(options.folder);
    } catch (const RuntimeError& e) {
        fail(QStringLiteral("cannot open folder %1: %2").arg(displayText(options.folder), errorDescription(e.number())));
    }
    if (options.json)
        printJson(form, window, Dir1.path(), search.folderAlone());
    else
        printFolderPanel(window, Dir1.path());
    return window.messages.isEmpty() ? 0 : 1;
}
