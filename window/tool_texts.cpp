#include "tool_texts.h"

namespace dorvelix::tool_text {

QString secondsText(long long milliseconds)
{
    return QString::number(static_cast<double>(milliseconds) / 1000.0, 'f', 1);
}

QString blockReason(BlockReason reason)
{
    switch (reason) {
    case BlockReason::FileTooLarge: return QStringLiteral("4 GiB 以上のファイル");
    case BlockReason::ForbiddenCharacter: return QStringLiteral("FAT で使えない文字を含む名前");
    case BlockReason::TrailingDotOrSpace: return QStringLiteral("ピリオドか空白で終わる名前");
    case BlockReason::CaseCollision: return QStringLiteral("同じホルダに大文字小文字だけが違う名前がある");
    case BlockReason::SymbolicLink: return QStringLiteral("シンボリックリンク");
    case BlockReason::SpecialFile: return QStringLiteral("FIFO、ソケットまたはデバイス");
    }
    return {};
}

}  // namespace dorvelix::tool_text
