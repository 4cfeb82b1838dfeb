#include "tool_texts.h"

#include "number_format.h"

#include <QRegularExpression>

namespace dorvelix::tool_text {

QString withoutMnemonic(const char* text)
{
    QString plain = QString::fromUtf8(text);
    plain.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    if (plain.endsWith(QLatin1String("...")))
        plain.chop(3);
    return plain.trimmed();
}

QString countedText(const WalkProgress& counted, long long milliseconds)
{
    return QString::fromUtf8(Counted).arg(formatNumber(counted.folders.load(), NumberPattern::Plain),
                                          formatNumber(counted.files.load(), NumberPattern::Plain),
                                          secondsText(milliseconds));
}

QString secondsText(long long milliseconds)
{
    return QString::number(static_cast<double>(milliseconds) / 1000.0, 'f', 1);
}

QString blockReason(BlockReason reason)
{
    switch (reason) {
    case BlockReason::FileTooLarge: return QString::fromUtf8(FileTooLargeReason);
    case BlockReason::ForbiddenCharacter: return QString::fromUtf8(ForbiddenCharacterReason);
    case BlockReason::TrailingDotOrSpace: return QString::fromUtf8(TrailingDotOrSpaceReason);
    case BlockReason::CaseCollision: return QString::fromUtf8(CaseCollisionReason);
    case BlockReason::SymbolicLink: return QString::fromUtf8(SymbolicLinkReason);
    case BlockReason::SpecialFile: return QString::fromUtf8(SpecialFileReason);
    case BlockReason::TooManyEntries: return QString::fromUtf8(TooManyEntriesReason);
    case BlockReason::RootTableFull: return QString::fromUtf8(RootTableFullReason);
    case BlockReason::NameNotAscii: return QString::fromUtf8(NameNotAsciiReason);
    }
    return {};
}

}  // namespace dorvelix::tool_text
