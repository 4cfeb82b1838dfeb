#include "target_output.h"

#include "json_writer.h"
#include "number_format.h"
#include "report_output.h"
#include "report_texts.h"
#include "text.h"

namespace dorvelix {

namespace {

QString plain(long long n)
{
    return formatNumber(n, NumberPattern::Plain);
}

// How the copy was counted, in words: the FAT or exFAT driver's rule, the
// target's own layout, or nothing where the window's rule applies.
std::optional<QString> countedBy(const TargetCheck& t)
{
    using namespace report_text;
    const TargetEstimate& e = t.estimate;
    if (e.rule) {
        QString note = QLatin1String(ruleText(e.rule->rule));
        if (note.contains(QLatin1String("%1")))
            note = note.arg(QString::fromStdString(e.rule->option));
        if (e.rule->exact && !e.exact)
            note += UnsureNames;
        return note + EntryNotCounted;
    }
    if (e.layout) {
        QString note = QLatin1String(layoutText(*e.layout));
        if (note.contains(QLatin1String("%1")))
            note = note.arg(t.drive->format ? QString::fromStdString(t.drive->format->driver) : t.drive->fileSystem);
        // The NTFS count holds room for that entry.
        return *e.layout == LayoutRule::Ntfs ? note : note + EntryNotCounted;
    }
    return std::nullopt;
}

// One limit the copy passes, in words.
QString limitText(const LimitReached& l)
{
    using namespace report_text;
    QString text = QLatin1String(limitRow(l.limit).text);
    text = text.arg(plain(l.needed), plain(l.available));
    if (text.contains(QLatin1String("%3")))
        text = text.arg(escapedControls(displayText(l.path)));
    if (l.count > 1)
        text += MoreEntries.arg(plain(l.count));
    return text;
}

}  // namespace

void printTarget(const TargetCheck& t)
{
    using namespace report_text;
    printLine(stdout, TargetTitle.arg(escapedControls(t.drive->text), t.drive->fileSystem));
    printLine(stdout, TargetClusterLength.arg(plain(t.drive->clusterLength)));
    printLine(stdout, TargetFreeBytes.arg(plain(t.drive->freeBytes)));
    printLine(stdout, TargetNeededBytes.arg(plain(t.neededBytes)));
    if (t.countsInodes && t.drive->freeInodes) {
        printLine(stdout, TargetFreeInodes.arg(plain(*t.drive->freeInodes)));
        printLine(stdout, TargetNeededInodes.arg(plain(t.neededEntries)));
    }
    const std::vector<LimitReached> reached = t.limitsReached();
    if (reached.empty())
        printLine(stdout, Fits.arg(plain(t.drive->freeBytes - t.neededBytes)));
    else if (reached.front().limit == CopyLimit::Bytes)
        printLine(stdout, DoesNotFit.arg(plain(t.neededBytes - t.drive->freeBytes)));
    else
        printLine(stdout, DoesNotFitElsewhere);
    for (const LimitReached& l : reached)
        printLine(stdout, RunsOut.arg(limitText(l)));
    if (const auto note = countedBy(t))
        printLine(stdout, (t.estimate.exact ? RuleLine : EstimateLine) + *note);
    else
        printEstimate(t.drive->fileSystem);
    if (t.blocked.empty())
        return;
    printLine(stdout, WillNotCopy.arg(plain(static_cast<long long>(t.blocked.size()))));
    for (const BlockedEntry& b : t.blocked)
        printLine(stdout, BlockedLine.arg(escapedControls(displayText(b.path)), QLatin1String(reasonText(b.reason))));
}

void jsonTarget(JsonWriter& j, const TargetCheck& t)
{
    j.beginObject(json_key::Target);
    j.value(json_key::Text, t.drive->text);
    j.value(json_key::FileSystem, t.drive->fileSystem);
    j.value(json_key::ClusterLength, t.drive->clusterLength);
    j.value(json_key::FreeBytes, t.drive->freeBytes);
    j.value(json_key::NeededBytes, t.neededBytes);
    j.value(json_key::Fits, t.fits());
    if (const auto note = countedBy(t)) {
        j.value(json_key::EstimateExact, t.estimate.exact);
        j.value(json_key::EstimateNote, *note);
    } else {
        jsonEstimate(j, t.drive->fileSystem);
    }
    j.beginArray(json_key::Blocked);
    for (const BlockedEntry& b : t.blocked) {
        j.beginObject();
        j.value(json_key::Path, displayText(b.path));
        j.value(json_key::Reason, QString::fromUtf8(report_text::reasonKey(b.reason)));
        j.endObject();
    }
    j.endArray();
    if (t.countsInodes && t.drive->freeInodes)
        j.value(json_key::FreeInodes, *t.drive->freeInodes);
    else
        j.null(json_key::FreeInodes);
    j.value(json_key::NeededInodes, t.neededEntries);
    j.beginArray(json_key::LimitsReached);
    for (const LimitReached& l : t.limitsReached()) {
        j.beginObject();
        j.value(json_key::Limit, QString::fromUtf8(report_text::limitRow(l.limit).key));
        j.value(json_key::Needed, l.needed);
        j.value(json_key::Available, l.available);
        if (!l.path.empty())
            j.value(json_key::Path, displayText(l.path));
        j.value(json_key::Count, l.count);
        j.endObject();
    }
    j.endArray();
    j.endObject();
}

}  // namespace dorvelix
