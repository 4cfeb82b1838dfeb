#include "compare_output.h"

#include "json_writer.h"
#include "number_format.h"
#include "program_version.h"
#include "report_output.h"
#include "report_texts.h"
#include "text.h"

#include <cstring>

namespace dorvelix {

namespace {

const char* changeWord(FolderChange::Kind kind)
{
    switch (kind) {
    case FolderChange::Kind::Added: return json_key::Added;
    case FolderChange::Kind::Gone: return json_key::Gone;
    case FolderChange::Kind::Changed: break;
    }
    return json_key::Changed;
}

QString plain(long long n)
{
    return formatNumber(n, NumberPattern::Plain);
}

void printChange(const FolderChange& c, const QString& name)
{
    const long long cells[] = {c.then.files,  c.now.files,           c.thenBytes,
                               c.nowBytes,    c.growthBytes(),       c.thenConvertBytes,
                               c.nowConvertBytes};
    QString text = QString::fromLatin1(changeWord(c.kind)).rightJustified(8);
    for (const long long n : cells)
        text += plain(n).rightJustified(18);
    printLine(stdout, text + QStringLiteral("  ") + escapedControls(name));
}

void jsonFigures(JsonWriter& j, const char* key, const FolderRow& row, long long bytes, long long convertBytes)
{
    j.beginObject(key);
    j.value(json_key::Folders, row.folders);
    j.value(json_key::Files, row.files);
    j.value(json_key::Clusters, row.clusters);
    j.value(json_key::Bytes, bytes);
    j.value(json_key::FileBytes, row.fileBytes);
    j.value(json_key::ConvertClusters, row.convertClusters);
    j.value(json_key::ConvertBytes, convertBytes);
    j.endObject();
}

void jsonChange(JsonWriter& j, const FolderChange& c, const char* key = nullptr)
{
    j.beginObject(key);
    j.value(json_key::Change, QString::fromLatin1(changeWord(c.kind)));
    j.value(json_key::Level, static_cast<long long>(c.level));
    j.value(json_key::Path, QString::fromStdString(c.path));
    if (c.kind == FolderChange::Kind::Added)
        j.null(json_key::Then);
    else
        jsonFigures(j, json_key::Then, c.then, c.thenBytes, c.thenConvertBytes);
    if (c.kind == FolderChange::Kind::Gone)
        j.null(json_key::Now);
    else
        jsonFigures(j, json_key::Now, c.now, c.nowBytes, c.nowConvertBytes);
    const FolderRow grown{c.now.folders - c.then.folders, c.now.files - c.then.files, c.now.clusters - c.then.clusters,
                          c.now.convertClusters - c.then.convertClusters, c.now.fileBytes - c.then.fileBytes};
    jsonFigures(j, json_key::Difference, grown, c.growthBytes(), c.nowConvertBytes - c.thenConvertBytes);
    j.endObject();
}

}  // namespace

QString savedScanErrorText(const QString& file, const SavedScanError& e)
{
    using namespace report_text;
    using Kind = SavedScanError::Kind;
    const QString f = escapedControls(file);
    const QString at = plain(e.offset);
    const QString found = escapedControls(displayText(e.found));
    switch (e.kind) {
    case Kind::Unreadable: return ScanUnreadable.arg(f, QString::fromLocal8Bit(std::strerror(e.errorNumber)));
    case Kind::Truncated: return ScanTruncated.arg(f, at);
    case Kind::NotJson: return ScanNotJson.arg(f, at);
    case Kind::NotAScan: return ScanNotAScan.arg(f);
    case Kind::OtherFormat: return ScanOtherFormat.arg(f, found);
    case Kind::NewerFormat: return ScanNewerFormat.arg(f, found);
    case Kind::MissingFigure: return ScanMissingFigure.arg(f, found);
    case Kind::ValueTooLong: return ScanValueTooLong.arg(f, at);
    }
    return ScanNotJson.arg(f, at);
}

void printDifference(const ScanDifference& d, const SavedScan& then, const QString& savedFile)
{
    using namespace report_text;
    printLine(stdout, CompareTitle.arg(escapedControls(savedFile), escapedControls(QString::fromStdString(then.folder)),
                                       plain(d.depth)));
    printLine(stdout, CompareLengths.arg(plain(then.clusterLength), plain(d.clusterLength), plain(then.convertLength),
                                         plain(d.convertLength)));
    QString header = QString::fromLatin1(CompareColumns[0]).rightJustified(8);
    for (size_t i = 1; i < std::size(CompareColumns); ++i)
        header += QString::fromLatin1(CompareColumns[i]).rightJustified(18);
    printLine(stdout, header + QStringLiteral("  ") + PathColumn);
    printChange(d.whole, WholeFolder);
    for (const FolderChange& c : d.changes)
        printChange(c, QString::fromStdString(c.path));
    if (d.changes.empty())
        printLine(stdout, CompareNone);
}

void printDifferenceJson(const ScanDifference& d, const SavedScan& then, const QString& savedFile,
                         const QString& folder, const QStringList& messages)
{
    JsonWriter j;
    j.beginObject();
    j.value(json_key::Format, QString::fromLatin1(report_text::JsonFormat));
    j.value(json_key::FormatVersion, report_text::JsonFormatVersion);
    j.value(json_key::ProgramVersion, QString::fromLatin1(ProgramVersion));
    j.beginObject(json_key::Compare);
    j.value(json_key::Saved, savedFile);
    j.value(json_key::Folder, QString::fromStdString(then.folder));
    j.value(json_key::ClusterLength, then.clusterLength);
    j.value(json_key::ConvertLength, then.convertLength);
    j.endObject();
    j.beginObject(json_key::Folder);
    j.value(json_key::Path, folder);
    j.value(json_key::ClusterLength, d.clusterLength);
    j.value(json_key::ConvertLength, d.convertLength);
    j.endObject();
    j.value(json_key::Depth, static_cast<long long>(d.depth));
    jsonChange(j, d.whole, json_key::Whole);
    j.beginArray(json_key::Changes);
    for (const FolderChange& c : d.changes)
        jsonChange(j, c);
    j.endArray();
    finishJson(j, messages);
}

}  // namespace dorvelix
