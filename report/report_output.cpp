#include "report_output.h"

#include "json_writer.h"
#include "number_format.h"
#include "window_texts.h"
#include "program_version.h"
#include "text.h"

#include <algorithm>

namespace dorvelix {

namespace {

// The text the panel shows beside a caption, as the window's value box does
// once the search has ended, "- " where no figure was reached. The folder
// panel's lengths are the ones the search counted with; the drive's row
// holds its file system too.
QString panelValue(const ReportData& r, Box box)
{
    DriveFigures shown = r.drive;
    shown.searchClusterLength = r.search.clusterLength;
    shown.convertLength = r.search.convertLength;
    if (box == Box::DriveText)
        return escapedControls(shown.text) + QStringLiteral("  ") + shown.fileSystem.value_or(QString());
    return boxText(box, shown, r.search).value_or(BlankBox);
}

void jsonWhole(JsonWriter& j, const char* key, const std::optional<Whole>& w)
{
    if (!w)
        j.null(key);
    else if (const auto* exact = std::get_if<long long>(&*w))
        j.value(key, *exact);
    else
        j.value(key, std::get<double>(*w));
}

// The top-level rows, largest converted first (walk order among equals).
std::vector<SubfolderRow> rowsBySize(const SearchResult& s)
{
    std::vector<SubfolderRow> rows = s.subfolders;
    std::stable_sort(rows.begin(), rows.end(), [](const SubfolderRow& a, const SubfolderRow& b) {
        return a.row.convertClusters > b.row.convertClusters;
    });
    return rows;
}

// The folder's own files go by the name ".".
QString rowName(const SubfolderRow& row)
{
    return row.name.empty() ? QStringLiteral(".") : displayText(row.name);
}

// What JSON readers check before they read on: the document's kind and the
// version of its layout, raised whenever a key changes meaning or goes.
constexpr char JsonFormat[] = "dorvelix-report";
constexpr long long JsonFormatVersion = 1;

QString limitsText(const WalkLimits& l)
{
    QStringList parts;
    if (!l.complete)
        parts << QStringLiteral("15 levels, hidden and special files down to level 8 (--complete counts all)");
    if (l.levelsSkipped > 0)
        parts << QStringLiteral("%1 folders below level 15 not entered").arg(formatNumber(l.levelsSkipped, NumberPattern::Plain));
    if (l.hiddenSkipped > 0)
        parts << QStringLiteral("%1 hidden or special files below level 8 not counted")
                     .arg(formatNumber(l.hiddenSkipped, NumberPattern::Plain));
    if (l.unreadableFolders > 0)
        parts << QStringLiteral("%1 folders could not be read").arg(formatNumber(l.unreadableFolders, NumberPattern::Plain));
    if (l.unreadableFiles > 0)
        parts << QStringLiteral("%1 file lengths could not be read").arg(formatNumber(l.unreadableFiles, NumberPattern::Plain));
    if (parts.isEmpty())
        parts << QStringLiteral("none: every level and every entry counted");
    return parts.join(QStringLiteral("; "));
}

bool limited(const WalkLimits& l)
{
    return l.levelsSkipped > 0 || l.hiddenSkipped > 0 || l.unreadableFolders > 0 || l.unreadableFiles > 0;
}

void printFolderRows(const SearchResult& s)
{
    printLine(stdout, QStringLiteral("Folders, largest converted first (cluster length %1, converted %2)")
                          .arg(formatNumber(s.clusterLength, NumberPattern::Plain),
                               formatNumber(s.convertLength, NumberPattern::Plain)));
    const auto cell = [](long long n) { return formatNumber(n, NumberPattern::Plain).rightJustified(16); };
    printLine(stdout, QStringLiteral("%1%2%3%4%5%6%7%8  name")
                          .arg(QStringLiteral("folders").rightJustified(10), QStringLiteral("files").rightJustified(10),
                               QStringLiteral("file bytes").rightJustified(16),
                               QStringLiteral("clusters").rightJustified(16), QStringLiteral("bytes").rightJustified(16),
                               QStringLiteral("conv. clusters").rightJustified(16),
                               QStringLiteral("conv. bytes").rightJustified(16), QStringLiteral("growth").rightJustified(16)));
    for (const SubfolderRow& r : rowsBySize(s)) {
        const FolderRow& x = r.row;
        printLine(stdout, formatNumber(x.folders, NumberPattern::Plain).rightJustified(10)
                              + formatNumber(x.files, NumberPattern::Plain).rightJustified(10) + cell(x.fileBytes)
                              + cell(x.clusters)
                              + cell(s.bytes(x.clusters)) + cell(x.convertClusters)
                              + cell(s.convertBytes(x.convertClusters))
                              + cell(s.convertBytes(x.convertClusters) - s.bytes(x.clusters)) + QStringLiteral("  ")
                              + escapedControls(rowName(r)));
    }
}

// The files' own lengths beside the bytes their clusters hold.
void printFileBytes(const SearchResult& s)
{
    if (!s.alone || !s.subtree)
        return;
    printLine(stdout, QStringLiteral("  file lengths summed: folder alone %1, subtree %2 (du --apparent-size)")
                          .arg(formatNumber(s.alone->fileBytes, NumberPattern::Plain),
                               formatNumber(s.subtree->fileBytes, NumberPattern::Plain)));
}

void printEstimate(const QString& fileSystem)
{
    if (const auto note = estimateNote(fileSystem))
        printLine(stdout, QStringLiteral("  note: the count is an estimate: ") + *note);
}

void printTarget(const TargetAnswer& t)
{
    const auto bytes = [](long long n) { return formatNumber(n, NumberPattern::Plain); };
    printLine(stdout, QStringLiteral("Target  %1  %2").arg(escapedControls(t.drive.text), t.drive.fileSystem));
    printLine(stdout, QStringLiteral("  cluster length: %1").arg(bytes(t.drive.clusterLength)));
    printLine(stdout, QStringLiteral("  free bytes: %1").arg(bytes(t.drive.freeBytes)));
    printLine(stdout, QStringLiteral("  needed bytes: %1").arg(bytes(t.neededBytes)));
    if (t.fits())
        printLine(stdout, QStringLiteral("  fits: yes, %1 bytes to spare").arg(bytes(t.drive.freeBytes - t.neededBytes)));
    else
        printLine(stdout, QStringLiteral("  fits: no, %1 bytes short").arg(bytes(t.neededBytes - t.drive.freeBytes)));
    printEstimate(t.drive.fileSystem);
    if (t.blocked.empty())
        return;
    printLine(stdout, QStringLiteral("  will not copy: %1").arg(bytes(static_cast<long long>(t.blocked.size()))));
    for (const BlockedEntry& b : t.blocked)
        printLine(stdout, QStringLiteral("    %1: %2")
                              .arg(escapedControls(displayText(b.path)), QString::fromUtf8(reasonText(b.reason))));
}

void jsonRow(JsonWriter& j, const SearchResult& s, const FolderRow& row)
{
    j.value("folders", row.folders);
    j.value("files", row.files);
    j.value("clusters", row.clusters);
    j.value("bytes", s.bytes(row.clusters));
    j.value("file_bytes", row.fileBytes);
}

// Whether a count at this file system's cluster length is exact, and why not.
void jsonEstimate(JsonWriter& j, const QString& fileSystem)
{
    const auto note = estimateNote(fileSystem);
    j.value("estimate_exact", !note);
    if (note)
        j.value("estimate_note", *note);
    else
        j.null("estimate_note");
}

}  // namespace

void printLine(FILE* to, const QString& text)
{
    QString t = text;
    t.replace(CrLf, QStringLiteral("\n"));
    const QByteArray bytes = t.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), to);
    std::fputc('\n', to);
}

void printText(const ReportData& r)
{
    printLine(stdout, QString::fromUtf8(DrivePanelCaption));
    bool folderPanel = false;
    for (const PanelCaption& c : PanelCaptions) {
        if (!c.box)
            continue;
        if (c.folderPanel && !folderPanel) {
            printLine(stdout, QString::fromUtf8(FolderPanelCaption) + QStringLiteral("  ") + escapedControls(r.folder));
            if (r.search.limits.complete || limited(r.search.limits))
                printLine(stdout, QStringLiteral("  limits: ") + limitsText(r.search.limits));
            printFileBytes(r.search);
            folderPanel = true;
        }
        const QString indent = c.title ? QString() : QStringLiteral("  ");
        printLine(stdout, indent + QString::fromUtf8(c.text) + panelValue(r, *c.box));
        if (c.box == Box::FreeRatio) {
            printEstimate(r.drive.fileSystem.value_or(QString()));
        }
    }
    if (r.folderRows)
        printFolderRows(r.search);
    if (r.target)
        printTarget(*r.target);
}

void printJson(const ReportData& r)
{
    const DriveFigures& d = r.drive;
    const SearchResult& s = r.search;
    JsonWriter j;
    j.beginObject();
    j.value("format", QString::fromLatin1(JsonFormat));
    j.value("format_version", JsonFormatVersion);
    j.value("program_version", QString::fromLatin1(ProgramVersion));
    j.beginObject("drive");
    j.value("cluster_length", s.clusterLength);
    j.value("text", d.text);
    j.value("file_system", d.fileSystem.value_or(QString()));
    const std::pair<const char*, const std::optional<Whole>*> figures[] = {
        {"bytes_per_sector", &d.bytesPerSector}, {"sectors_per_cluster", &d.sectorsPerCluster},
        {"total_clusters", &d.totalClusters},    {"total_bytes", &d.totalBytes},
        {"used_clusters", &d.usedClusters},      {"used_bytes", &d.usedBytes},
        {"free_clusters", &d.freeClusters},      {"free_bytes", &d.freeBytes}};
    for (const auto& [key, figure] : figures)
        jsonWhole(j, key, *figure);
    if (d.freeRatio)
        j.value("free_ratio", *d.freeRatio);
    else
        j.null("free_ratio");
    jsonEstimate(j, d.fileSystem.value_or(QString()));
    j.endObject();

    const FolderRow alone = s.alone.value_or(FolderRow{});
    const FolderRow tree = s.subtree.value_or(FolderRow{});
    j.beginObject("folder");
    j.value("path", r.folder);
    j.value("files", alone.files);
    j.value("clusters", alone.clusters);
    j.value("bytes", s.bytes(alone.clusters));
    j.value("file_bytes", alone.fileBytes);
    j.endObject();
    j.beginObject("subtree");
    jsonRow(j, s, tree);
    j.endObject();
    j.beginObject("converted");
    j.value("cluster_length", s.convertLength);
    j.value("clusters", tree.convertClusters);
    j.value("bytes", s.convertBytes(tree.convertClusters));
    j.endObject();
    j.beginObject("limits");
    j.value("complete", s.limits.complete);
    j.value("levels_skipped", s.limits.levelsSkipped);
    j.value("hidden_skipped", s.limits.hiddenSkipped);
    j.value("unreadable_folders", s.limits.unreadableFolders);
    j.value("unreadable_files", s.limits.unreadableFiles);
    j.endObject();
    if (r.folderRows) {
        j.beginArray("folders");
        for (const SubfolderRow& row : rowsBySize(s)) {
            j.beginObject();
            j.value("name", rowName(row));
            jsonRow(j, s, row.row);
            j.value("convert_clusters", row.row.convertClusters);
            j.value("convert_bytes", s.convertBytes(row.row.convertClusters));
            j.value("growth_bytes", s.convertBytes(row.row.convertClusters) - s.bytes(row.row.clusters));
            j.endObject();
        }
        j.endArray();
    }
    if (r.target) {
        const TargetAnswer& t = *r.target;
        j.beginObject("target");
        j.value("text", t.drive.text);
        j.value("file_system", t.drive.fileSystem);
        j.value("cluster_length", t.drive.clusterLength);
        j.value("free_bytes", t.drive.freeBytes);
        j.value("needed_bytes", t.neededBytes);
        j.value("fits", t.fits());
        jsonEstimate(j, t.drive.fileSystem);
        j.beginArray("blocked");
        for (const BlockedEntry& b : t.blocked) {
            j.beginObject();
            j.value("path", displayText(b.path));
            j.value("reason", QString::fromUtf8(reasonKey(b.reason)));
            j.endObject();
        }
        j.endArray();
        j.endObject();
    }
    j.beginArray("messages");
    for (const QString& m : r.messages)
        j.element(m);
    j.endArray();
    j.endObject();
    std::fwrite(j.text().data(), 1, j.text().size(), stdout);
    std::fputc('\n', stdout);
}

}  // namespace dorvelix
