#include "report_output.h"

#include "json_writer.h"
#include "number_format.h"
#include "panel_captions.h"
#include "text.h"

namespace dorvelix {

namespace {

const QString Unfilled = QStringLiteral("- ");

QString wholeText(const std::optional<Whole>& w)
{
    return w ? std::visit([](auto v) { return formatNumber(v); }, *w) : Unfilled;
}

QString number(const std::optional<long long>& n, NumberPattern pattern = NumberPattern::Padded)
{
    return n ? formatNumber(*n, pattern) : Unfilled;
}

// The text the panel shows beside a caption, as the window's value box does.
QString panelValue(const ReportData& r, int boxNumber)
{
    const DriveFigures& d = r.drive;
    const SearchResult& s = r.search;
    const std::optional<FolderRow>& alone = s.alone;
    const std::optional<FolderRow>& tree = s.subtree;
    const auto counted = [](const std::optional<FolderRow>& row, auto figure) {
        return row ? std::optional<long long>(figure(*row)) : std::nullopt;
    };
    switch (boxNumber) {
    case box::DriveText:
        return d.text + QStringLiteral("  ") + d.fileSystem.value_or(QString());
    case box::BytesPerSector: return wholeText(d.bytesPerSector);
    case box::SectorsPerCluster: return wholeText(d.sectorsPerCluster);
    case box::ClusterLength: return wholeText(d.clusterLength);
    case box::TotalClusters: return wholeText(d.totalClusters);
    case box::TotalBytes: return wholeText(d.totalBytes);
    case box::UsedClusters: return wholeText(d.usedClusters);
    case box::UsedBytes: return wholeText(d.usedBytes);
    case box::FreeClusters: return wholeText(d.freeClusters);
    case box::FreeBytes: return wholeText(d.freeBytes);
    case box::FreeRatio: return d.freeRatio ? formatPercent(*d.freeRatio) : Unfilled;
    case box::AloneFiles: return number(s.files, NumberPattern::Plain);
    case box::AloneClusters: return number(counted(alone, [](const FolderRow& x) { return x.clusters; }));
    case box::AloneBytes: return number(counted(alone, [&](const FolderRow& x) { return s.bytes(x.clusters); }));
    case box::SearchClusterLength: return formatNumber(s.clusterLength);
    case box::SubtreeFolders: return number(counted(tree, [](const FolderRow& x) { return x.folders; }));
    case box::SubtreeFiles: return number(counted(tree, [](const FolderRow& x) { return x.files; }));
    case box::SubtreeClusters: return number(counted(tree, [](const FolderRow& x) { return x.clusters; }));
    case box::SubtreeBytes: return number(counted(tree, [&](const FolderRow& x) { return s.bytes(x.clusters); }));
    case box::ConvertLength: return formatNumber(s.convertLength);
    case box::ConvertClusters: return number(counted(tree, [](const FolderRow& x) { return x.convertClusters; }));
    case box::ConvertBytes:
        return number(counted(tree, [&](const FolderRow& x) { return s.convertBytes(x.convertClusters); }));
    default: return {};
    }
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
        if (c.box == 0)
            continue;
        if (c.folderPanel && !folderPanel) {
            printLine(stdout, QString::fromUtf8(FolderPanelCaption) + QStringLiteral("  ") + r.folder);
            folderPanel = true;
        }
        const QString indent = c.title ? QString() : QStringLiteral("  ");
        printLine(stdout, indent + QString::fromUtf8(c.text) + panelValue(r, c.box));
    }
}

void printJson(const ReportData& r)
{
    const DriveFigures& d = r.drive;
    const SearchResult& s = r.search;
    JsonWriter j;
    j.beginObject();
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
    j.endObject();

    const FolderRow alone = s.alone.value_or(FolderRow{});
    const FolderRow tree = s.subtree.value_or(FolderRow{});
    j.beginObject("folder");
    j.value("path", r.folder);
    j.value("files", alone.files);
    j.value("clusters", alone.clusters);
    j.value("bytes", s.bytes(alone.clusters));
    j.endObject();
    j.beginObject("subtree");
    j.value("folders", tree.folders);
    j.value("files", tree.files);
    j.value("clusters", tree.clusters);
    j.value("bytes", s.bytes(tree.clusters));
    j.endObject();
    j.beginObject("converted");
    j.value("cluster_length", s.convertLength);
    j.value("clusters", tree.convertClusters);
    j.value("bytes", s.convertBytes(tree.convertClusters));
    j.endObject();
    j.beginArray("messages");
    for (const QString& m : r.messages)
        j.element(m);
    j.endArray();
    j.endObject();
    std::fwrite(j.text().data(), 1, j.text().size(), stdout);
    std::fputc('\n', stdout);
}

}  // namespace dorvelix
