#include "tool_texts.h"

#include "number_format.h"
#include "text.h"
#include "ui_text.h"

#include <QRegularExpression>

namespace dorvelix::tool_text {

QString withoutMnemonic(const char* text)
{
    QString plain = uiText(text);
    plain.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));  // Japanese: "保存(&S)"
    plain.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));  // English: "&Save"
    if (plain.endsWith(QLatin1String("...")))
        plain.chop(3);
    return plain.trimmed();
}

QString countedText(const WalkProgress& counted, long long milliseconds)
{
    return uiText(Counted).arg(formatNumber(counted.folders.load(), NumberPattern::Plain),
                               formatNumber(counted.files.load(), NumberPattern::Plain), secondsText(milliseconds));
}

QString plainNumber(long long n)
{
    return figureText(n);
}

QString secondsText(long long milliseconds)
{
    return QString::number(static_cast<double>(milliseconds) / 1000.0, 'f', 1);
}

QString blockReason(BlockReason reason)
{
    switch (reason) {
    case BlockReason::FileTooLarge: return uiText(FileTooLargeReason);
    case BlockReason::ForbiddenCharacter: return uiText(ForbiddenCharacterReason);
    case BlockReason::TrailingDotOrSpace: return uiText(TrailingDotOrSpaceReason);
    case BlockReason::CaseCollision: return uiText(CaseCollisionReason);
    case BlockReason::SymbolicLink: return uiText(SymbolicLinkReason);
    case BlockReason::SpecialFile: return uiText(SpecialFileReason);
    case BlockReason::TooManyEntries: return uiText(TooManyEntriesReason);
    case BlockReason::RootTableFull: return uiText(RootTableFullReason);
    case BlockReason::NameNotAscii: return uiText(NameNotAsciiReason);
    case BlockReason::FileTooLargeForTarget: return uiText(FileTooLargeForTargetReason);
    case BlockReason::TooManySubfolders: return uiText(TooManySubfoldersReason);
    case BlockReason::FolderIndexFull: return uiText(FolderIndexFullReason);
    }
    return {};
}

QString limitsReached(const std::vector<LimitReached>& reached)
{
    if (reached.empty())
        return uiText(NothingBlocked);
    const AnswerWords words = answerWords();
    QStringList parts;
    for (const LimitReached& l : reached)
        parts << limitText(l, words);
    return parts.join(uiText(ListSeparator));
}

namespace {

QString ruleWords(CountRule rule)
{
    switch (rule) {
    case CountRule::VfatUpperCaseShortNames: return uiText(VfatUpperCaseRule);
    case CountRule::VfatOneCaseShortNames: return uiText(VfatOneCaseRule);
    case CountRule::FusefatLongNames: return uiText(FusefatRule);
    case CountRule::UnknownFatDriver: return uiText(UnknownFatDriverRule);
    case CountRule::Exfat: return uiText(ExfatRule);
    }
    return {};
}

QString layoutWords(LayoutRule rule)
{
    switch (rule) {
    case LayoutRule::Ntfs: return uiText(NtfsLayoutRule);
    case LayoutRule::Ext: return uiText(ExtLayoutRule);
    case LayoutRule::Btrfs: return uiText(BtrfsLayoutRule);
    case LayoutRule::F2fs: return uiText(F2fsLayoutRule);
    case LayoutRule::Bound: return uiText(BoundLayoutRule);
    }
    return {};
}

QString limitWords(CopyLimit limit)
{
    switch (limit) {
    case CopyLimit::Bytes: return uiText(BytesRunOut);
    case CopyLimit::Inodes: return uiText(InodesRunOut);
    case CopyLimit::FolderEntries: return uiText(FolderEntriesRunOut);
    case CopyLimit::RootTable: return uiText(RootTableRunOut);
    case CopyLimit::FileSize: return uiText(FileSizeRunOut);
    }
    return {};
}

}  // namespace

AnswerWords answerWords()
{
    return {
        .rule = ruleWords,
        .layout = layoutWords,
        // The window names no cause: every estimate says the file system
        // allocates by rules other than FAT's.
        .caveat = [](CountCaveat) { return uiText(EstimatedByTableRule); },
        .unsureNames = uiText(UnsureNamesNote),
        .entryNotCounted = uiText(EntryNotCountedNote),
        .adviceLeast = uiText(AdviceLeast),
        .adviceIsDefault = uiText(AdviceIsDefault),
        .adviceDefault = uiText(AdviceDefault),
        .adviceCommand = uiText(AdviceCommand),
        .adviceNoneFits = uiText(AdviceNoneFits),
        .adviceLargeFile = uiText(AdviceLargeFile),
        .limit = limitWords,
        .entry = [](const std::string& path) { return displayText(path); },
        // Inside the closing bracket: "（…、全部で 3 個）".
        .moreEntries = uiText(InAll),
        .moreEntriesPlace = AnswerWords::MoreEntriesPlace::InsideClosingBracket,
    };
}

QString countedBy(const TargetCheck& check)
{
    const auto note = countNote(check, answerWords());
    return note ? note->text : QString();
}

QString lengthAdvice(const LengthsAnswer& answer, FreshFormat format)
{
    const AdviceText advice = adviceText(answer, format, answerWords());
    return advice.advice + advice.command.value_or(QString());
}

}  // namespace dorvelix::tool_text
