#include "report_output.h"

#include "json_writer.h"
#include "scan_rows.h"
#include "number_format.h"
#include "window_texts.h"
#include "program_version.h"
#include "lengths_output.h"
#include "report_texts.h"
#include "target_output.h"
#include "text.h"

#include "saved_scan.h"

#include <algorithm>
#include <string_view>
#include <cmath>
#include <vector>

namespace dorvelix {

// The report's JSON document is the saved scan that --compare reads.
static_assert(std::string_view(report_text::JsonFormat) == SavedScanFormat
              && report_text::JsonFormatVersion == SavedScanFormatVersion);

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

QString limitsText(const WalkLimits& l)
{
    using namespace report_text;
    QStringList parts;
    if (!l.complete)
        parts << WindowLimits;
    const std::pair<long long, QLatin1String> skipped[] = {{l.levelsSkipped, LevelsSkipped},
                                                          {l.hiddenSkipped, HiddenSkipped},
                                                          {l.unreadableFolders, UnreadableFolders},
                                                          {l.unreadableFiles, UnreadableFiles}};
    for (const auto& [count, text] : skipped) {
        if (count > 0)
            parts << text.arg(formatNumber(count, NumberPattern::Plain));
    }
    if (parts.isEmpty())
        parts << NoLimits;
    return parts.join(LimitsSeparator);
}

bool limited(const WalkLimits& l)
{
    return l.levelsSkipped > 0 || l.hiddenSkipped > 0 || l.unreadableFolders > 0 || l.unreadableFiles > 0;
}

void printFolderRows(const SearchResult& s, int depth)
{
    using report_text::FolderRowColumns;
    // The width of each column of FolderRowColumns; the name follows them.
    // Below the top level each row leads with its level, and its name is its
    // path from the chosen folder.
    constexpr int Widths[std::size(FolderRowColumns)] = {10, 10, 16, 16, 16, 16, 16, 16};
    const bool levels = depth > 1;
    const auto line = [&](const QString& level, const auto& cells, const QString& name) {
        QString text = levels ? level.rightJustified(6) : QString();
        for (size_t i = 0; i < std::size(Widths); ++i)
            text += cells[i].rightJustified(Widths[i]);
        printLine(stdout, text + QStringLiteral("  ") + name);
    };
    const auto plain = [](long long n) { return formatNumber(n, NumberPattern::Plain); };
    printLine(stdout, report_text::FolderRowsTitle.arg(plain(s.clusterLength), plain(s.convertLength)));
    QStringList headers;
    for (const char* header : FolderRowColumns)
        headers << QLatin1String(header);
    line(report_text::LevelColumn, headers, levels ? report_text::PathColumn : report_text::NameColumn);
    for (const ScanRow& r : scanRows(s, depth)) {
        QStringList figures;
        for (const long long n : s.rowFigures(r.row))
            figures << plain(n);
        figures.insert(2, plain(r.row.fileBytes));  // the files' own lengths beside their count
        const QString name = levels && !r.path.empty() ? displayText(r.path) : scanRowName(r);
        line(plain(r.level), figures, escapedControls(name));
    }
}

// The files' own lengths beside the bytes their clusters hold.
void printFileBytes(const SearchResult& s)
{
    if (!s.alone || !s.subtree)
        return;
    printLine(stdout, report_text::FileBytes.arg(formatNumber(s.alone->fileBytes, NumberPattern::Plain),
                                                 formatNumber(s.subtree->fileBytes, NumberPattern::Plain)));
}

}  // namespace

const AnswerWords& reportWords()
{
    using namespace report_text;
    static const AnswerWords words{
        .rule = [](CountRule rule) { return QString(QLatin1String(ruleText(rule))); },
        .layout = [](LayoutRule rule) { return QString(QLatin1String(layoutText(rule))); },
        .caveat = [](CountCaveat caveat) { return QString(QLatin1String(caveatText(caveat))); },
        .unsureNames = UnsureNames,
        .entryNotCounted = EntryNotCounted,
        .adviceLeast = AdviceLeast,
        .adviceIsDefault = AdviceIsDefault,
        .adviceDefault = AdviceDefault,
        .adviceCommand = AdviceCommand,
        .adviceNoneFits = AdviceNoneFits,
        .adviceLargeFile = AdviceLargeFile,
        .limit = [](CopyLimit limit) { return QString(QLatin1String(limitRow(limit).text)); },
        .entry = [](const std::string& path) { return escapedControls(displayText(path)); },
        .moreEntries = MoreEntries,
    };
    return words;
}

void printNote(const std::optional<CountNote>& note)
{
    if (note)
        printLine(stdout, (note->exact ? report_text::RuleLine : report_text::EstimateLine) + note->text);
}

// Whether a count is exact, and why not.
void jsonNote(JsonWriter& j, const std::optional<CountNote>& note)
{
    j.value(json_key::EstimateExact, !note || note->exact);
    if (note)
        j.value(json_key::EstimateNote, note->text);
    else
        j.null(json_key::EstimateNote);
}

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
                printLine(stdout, report_text::LimitsLine + limitsText(r.search.limits));
            if (r.search.limits.driveStopped)
                printLine(stdout, report_text::PartialLine + report_text::PartialNote);
            printFileBytes(r.search);
            folderPanel = true;
        }
        const QString indent = c.title ? QString() : QStringLiteral("  ");
        printLine(stdout, indent + QString::fromUtf8(c.text) + panelValue(r, *c.box));
        if (c.box == Box::FreeRatio) {
            printNote(estimateNote(r.drive.fileSystem.value_or(QString()), reportWords()));
        }
    }
    if (r.folderRows)
        printFolderRows(r.search, r.depth);
    if (r.target)
        printTarget(*r.target);
    if (r.lengths)
        printLengths(*r.lengths);
}

void printJson(const ReportData& r)
{
    const DriveFigures& d = r.drive;
    const SearchResult& s = r.search;
    JsonWriter j;
    j.beginObject();
    j.value(json_key::Format, QString::fromLatin1(report_text::JsonFormat));
    j.value(json_key::FormatVersion, report_text::JsonFormatVersion);
    j.value(json_key::ProgramVersion, QString::fromLatin1(ProgramVersion));
    j.beginObject(json_key::Drive);
    j.value(json_key::ClusterLength, s.clusterLength);
    j.value(json_key::Text, d.text);
    j.value(json_key::FileSystem, d.fileSystem.value_or(QString()));
    const std::pair<const char*, const std::optional<Whole>*> figures[] = {
        {json_key::BytesPerSector, &d.bytesPerSector}, {json_key::SectorsPerCluster, &d.sectorsPerCluster},
        {json_key::TotalClusters, &d.totalClusters},    {json_key::TotalBytes, &d.totalBytes},
        {json_key::UsedClusters, &d.usedClusters},      {json_key::UsedBytes, &d.usedBytes},
        {json_key::FreeClusters, &d.freeClusters},      {json_key::FreeBytes, &d.freeBytes}};
    for (const auto& [key, figure] : figures)
        jsonWhole(j, key, *figure);
    if (d.freeRatio)
        j.value(json_key::FreeRatio, *d.freeRatio);
    else
        j.null(json_key::FreeRatio);
    jsonNote(j, estimateNote(d.fileSystem.value_or(QString()), reportWords()));
    j.endObject();

    jsonScanFigures(j, s, r.folder);
    j.beginObject(json_key::Limits);
    j.value(json_key::Complete, s.limits.complete);
    j.value(json_key::LevelsSkipped, s.limits.levelsSkipped);
    j.value(json_key::HiddenSkipped, s.limits.hiddenSkipped);
    j.value(json_key::UnreadableFolders, s.limits.unreadableFolders);
    j.value(json_key::UnreadableFiles, s.limits.unreadableFiles);
    if (s.limits.driveStopped) {
        j.value(json_key::DriveStopped, true);
        j.value(json_key::PartialNote, QString(report_text::PartialNote));
    }
    j.endObject();
    if (r.folderRows)
        jsonScanRows(j, s, r.depth);
    if (r.target)
        jsonTarget(j, *r.target);
    if (r.lengths)
        jsonLengths(j, *r.lengths);
    finishJson(j, r.messages);
}

void finishJson(JsonWriter& j, const QStringList& messages)
{
    j.beginArray(json_key::Messages);
    for (const QString& m : messages)
        j.element(m);
    j.endArray();
    j.endObject();
    std::fwrite(j.text().data(), 1, j.text().size(), stdout);
    std::fputc('\n', stdout);
}

}  // namespace dorvelix
