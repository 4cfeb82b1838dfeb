#include "lengths_output.h"

#include "json_writer.h"
#include "report_output.h"
#include "report_texts.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace dorvelix {

namespace {

// One cluster length of --lengths, for either output: each file system's
// judgement at that length.
std::pair<LengthJudgement, LengthJudgement> lengthCells(const LengthsAnswer& a, const LengthFigures& f)
{
    return {judgeLength(a, f, FreshFormat::Fat32), judgeLength(a, f, FreshFormat::Exfat)};
}

constexpr FreshFormat FreshFormats[] = {FreshFormat::Fat32, FreshFormat::Exfat};

// Which length takes least for the folder on a volume of the capacity, and
// what the formatting tool's default takes more.
void printAdvice(const LengthsAnswer& a)
{
    printLine(stdout, report_text::AdviceTitle.arg(figureText(*a.capacity)));
    for (const FreshFormat format : FreshFormats) {
        const AdviceText advice = adviceText(a, format, reportWords());
        printLine(stdout, advice.advice);
        if (advice.command)
            printLine(stdout, *advice.command);
    }
}

}  // namespace

void printLengths(const LengthsAnswer& a)
{
    using namespace report_text;
    // The narrowest each column is; a wider figure widens its column so that
    // at least one space parts it from the one before.
    constexpr int NarrowestWidths[std::size(LengthsColumns)] = {10, 16, 9, 6, 16, 9, 6};
    std::vector<QStringList> rows;
    QStringList headers;
    for (const char* header : LengthsColumns)
        headers << QLatin1String(header);
    rows.push_back(headers);
    for (const LengthFigures& f : a.figures) {
        QStringList cells{figureText(f.clusterLength)};
        const auto [fat, exfat] = lengthCells(a, f);
        for (const LengthJudgement& c : {fat, exfat}) {
            cells << (c.bytes ? figureText(*c.bytes) + (c.isDefault ? DefaultMark : QLatin1String("  "))
                              : QString(NoFigure));
            cells << slackShareText(c).value_or(NoFigure);
            cells << (c.fits ? QString(*c.fits ? FitsYes : FitsNo) : QString(NoFigure));
        }
        rows.push_back(cells);
    }
    std::vector<qsizetype> widths(std::begin(NarrowestWidths), std::end(NarrowestWidths));
    for (const QStringList& cells : rows) {
        for (qsizetype i = 0; i < cells.size(); ++i)
            widths[static_cast<size_t>(i)] = std::max(widths[static_cast<size_t>(i)], cells[i].size() + 1);
    }
    printLine(stdout, LengthsTitle);
    printLine(stdout, LengthsFileBytes.arg(figureText(a.fileBytes)));
    if (a.capacity)
        printLine(stdout, LengthsCapacity.arg(figureText(*a.capacity)));
    for (const QStringList& cells : rows) {
        QString text;
        for (qsizetype i = 0; i < cells.size(); ++i)
            text += cells[i].rightJustified(widths[static_cast<size_t>(i)]);
        printLine(stdout, text);
    }
    if (a.capacity)
        printAdvice(a);
}

void jsonLengths(JsonWriter& j, const LengthsAnswer& a)
{
    using namespace json_key;
    if (a.capacity)
        j.value(Capacity, *a.capacity);
    j.beginArray(Lengths);
    for (const LengthFigures& f : a.figures) {
        const auto [fat, exfat] = lengthCells(a, f);
        j.beginObject();
        j.value(ClusterLength, f.clusterLength);
        j.value(FileBytes, a.fileBytes);
        const std::pair<const LengthJudgement*, std::array<const char*, 4>> columns[] = {
            {&fat, {Fat32Bytes, Fat32SlackPercent, Fat32Default, Fat32Fits}},
            {&exfat, {ExfatBytes, ExfatSlackPercent, ExfatDefault, ExfatFits}}};
        for (const auto& [c, keys] : columns) {
            if (c->bytes) {
                j.value(keys[0], *c->bytes);
                j.value(keys[1], std::round(c->slackPercent * 10) / 10);
            } else {
                j.null(keys[0]);
                j.null(keys[1]);
            }
            j.value(keys[2], c->isDefault);
            if (c->fits)
                j.value(keys[3], *c->fits);
            else
                j.null(keys[3]);
        }
        j.endObject();
    }
    j.endArray();
    if (!a.capacity)
        return;
    j.beginArray(Advice);
    for (const FreshFormat format : FreshFormats) {
        const LengthAdvice advice = adviseLength(a, format);
        j.beginObject();
        j.value(FileSystem, freshFormatName(format));
        const auto optional = [&](const char* key, std::optional<long long> value) {
            if (value)
                j.value(key, *value);
            else
                j.null(key);
        };
        optional(LeastClusterLength, advice.leastLength);
        optional(LeastBytes, advice.leastLength ? std::optional(advice.leastBytes) : std::nullopt);
        optional(DefaultClusterLength, advice.defaultLength);
        optional(DefaultBytes, advice.defaultBytes);
        optional(ExtraBytes, advice.leastLength && advice.defaultBytes
                                 ? std::optional(*advice.defaultBytes - advice.leastBytes) : std::nullopt);
        if (advice.leastLength)
            j.value(Command, QString::fromStdString(formatCommand(format, *advice.leastLength)));
        else
            j.null(Command);
        j.value(LargeFileRefused, advice.largeFileRefused);
        j.endObject();
    }
    j.endArray();
}

}  // namespace dorvelix
