#include "answer_wording.h"

#include "number_format.h"
#include "window_texts.h"

namespace dorvelix {

namespace {

// A text with its %1 filled where it has one.
QString filled(QString text, const QString& value)
{
    return text.contains(QLatin1String("%1")) ? text.arg(value) : text;
}

}  // namespace

std::optional<CountNote> countNote(const TargetCheck& check, const AnswerWords& words)
{
    const TargetEstimate& e = check.estimate;
    if (e.rule) {
        // A rule counts the folder tables; the entry in the folder the copy
        // goes into is left to that folder's table.
        QString text = filled(words.rule(e.rule->rule), QString::fromStdString(e.rule->option));
        if (e.rule->exact && !e.exact)
            text += words.unsureNames;
        return CountNote{text + words.entryNotCounted, e.exact};
    }
    if (e.layout) {
        const TargetDrive& d = *check.drive;
        QString text = filled(words.layout(*e.layout),
                              d.format ? QString::fromStdString(d.format->driver) : d.fileSystem);
        if (!e.targetEntryCounted)
            text += words.entryNotCounted;
        return CountNote{text, e.exact};
    }
    if (e.caveat)
        return CountNote{words.caveat(*e.caveat), false};
    return std::nullopt;
}

std::optional<CountNote> estimateNote(const QString& fileSystem, const AnswerWords& words)
{
    if (const auto caveat = countCaveat(fileSystem))
        return CountNote{words.caveat(*caveat), false};
    return std::nullopt;
}

CopyMargin copyMargin(const TargetCheck& check)
{
    CopyMargin m;
    if (!check.drive)
        return m;
    const std::vector<LimitReached> reached = check.limitsReached();
    const long long free = check.drive->freeBytes;
    m.fits = reached.empty();
    m.bytesRunOut = !reached.empty() && reached.front().limit == CopyLimit::Bytes;
    m.spare = check.neededBytes <= free;
    m.bytes = m.spare ? free - check.neededBytes : check.neededBytes - free;
    return m;
}

QString limitText(const LimitReached& limit, const AnswerWords& words)
{
    QString text = words.limit(limit.limit).arg(figureText(limit.needed), figureText(limit.available));
    if (text.contains(QLatin1String("%3")))
        text = text.arg(words.entry(limit.path));
    if (limit.count > 1) {
        const QString more = words.moreEntries.arg(figureText(limit.count));
        if (words.moreEntriesPlace == AnswerWords::MoreEntriesPlace::InsideClosingBracket && !text.isEmpty())
            text.insert(text.size() - 1, more);
        else
            text += more;
    }
    return text;
}

QString figureText(long long n)
{
    return formatNumber(n, NumberPattern::Plain);
}

std::optional<QString> slackShareText(const LengthJudgement& judgement)
{
    if (!judgement.bytes)
        return std::nullopt;
    return QString::number(judgement.slackPercent, 'f', 1);
}

QString freshFormatName(FreshFormat format)
{
    return QLatin1String(format == FreshFormat::Exfat ? tool_text::ExfatName : tool_text::Fat32Name);
}

AdviceText adviceText(const LengthsAnswer& answer, FreshFormat format, const AnswerWords& words)
{
    const LengthAdvice advice = adviseLength(answer, format);
    const QString name = freshFormatName(format);
    if (advice.largeFileRefused)
        return {words.adviceLargeFile.arg(name, figureText(answer.largestFile)), std::nullopt};
    if (!advice.leastLength)
        return {words.adviceNoneFits.arg(name), std::nullopt};
    QString text = words.adviceLeast.arg(name, figureText(*advice.leastLength), figureText(advice.leastBytes));
    const QString tool = QLatin1String(formattingTool(format));
    if (advice.defaultLength == advice.leastLength)
        text += words.adviceIsDefault.arg(tool);
    else if (advice.defaultLength && advice.defaultBytes)
        text += words.adviceDefault.arg(tool, figureText(*advice.defaultLength), figureText(*advice.defaultBytes),
                                        figureText(*advice.defaultBytes - advice.leastBytes));
    return {text, words.adviceCommand.arg(QString::fromStdString(formatCommand(format, *advice.leastLength)))};
}

}  // namespace dorvelix
