#include "target_output.h"

#include "json_writer.h"
#include "report_output.h"
#include "report_texts.h"
#include "text.h"

namespace dorvelix {

void printTarget(const TargetCheck& t)
{
    using namespace report_text;
    printLine(stdout, TargetTitle.arg(escapedControls(t.drive->text), t.drive->fileSystem));
    printLine(stdout, TargetClusterLength.arg(figureText(t.drive->clusterLength)));
    printLine(stdout, TargetFreeBytes.arg(figureText(t.drive->freeBytes)));
    printLine(stdout, TargetNeededBytes.arg(figureText(t.neededBytes)));
    if (t.countsInodes && t.drive->freeInodes) {
        printLine(stdout, TargetFreeInodes.arg(figureText(*t.drive->freeInodes)));
        printLine(stdout, TargetNeededInodes.arg(figureText(t.neededEntries)));
    }
    const CopyMargin margin = copyMargin(t);
    if (margin.fits)
        printLine(stdout, Fits.arg(figureText(margin.bytes)));
    else if (margin.bytesRunOut)
        printLine(stdout, DoesNotFit.arg(figureText(margin.bytes)));
    else
        printLine(stdout, DoesNotFitElsewhere);
    for (const LimitReached& l : t.limitsReached())
        printLine(stdout, RunsOut.arg(limitText(l, reportWords())));
    printNote(countNote(t, reportWords()));
    if (t.blocked.empty())
        return;
    printLine(stdout, WillNotCopy.arg(figureText(static_cast<long long>(t.blocked.size()))));
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
    j.value(json_key::Fits, copyMargin(t).fits);
    jsonNote(j, countNote(t, reportWords()));
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
