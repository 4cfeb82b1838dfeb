#include "runtime_error.h"

#include <array>
#include <cerrno>
#include <utility>

namespace dorvelix {

namespace {

// Error 76 by the errno behind it; nullptr where the plain text serves.
const char* folderCauseText(int cause)
{
    switch (cause) {
    case EACCES: case EPERM: return "パスにアクセスする権限がありません。";
    case ENOTDIR: case ELOOP: return "パスがホルダーではありません。";
    case ENAMETOOLONG: return "パス名が長すぎます。";
    case EIO: return "パスの読み取りでエラーが発生しました。";
    default: return nullptr;
    }
}

}  // namespace

QString errorDescription(int number, int cause)
{
    if (number == err::PathNotFound) {
        if (const char* text = folderCauseText(cause))
            return QString::fromUtf8(text);
    }
    static const std::array<std::pair<int, const char*>, 16> texts{{
        {3, "Return に対応する GoSub がありません。"},
        {5, "プロシージャの呼び出し、または引数が不正です。"},
        {6, "オーバーフローしました。"},
        {7, "メモリが不足しています。"},
        {9, "インデックスが有効範囲にありません。"},
        {11, "0 で除算しました。"},
        {13, "型が一致しません。"},
        {52, "ファイル名または番号が不正です。"},
        {53, "ファイルが見つかりません。"},
        {57, "デバイス I/O エラーです。"},
        {61, "ディスクの空き容量が不足しています。"},
        {68, "デバイスが準備されていません。"},
        {70, "書き込みできません。"},
        {71, "ディスクが準備されていません。"},
        {75, "パス名が無効です。"},
        {76, "パスが見つかりません。"},
    }};
    for (const auto& [n, text] : texts) {
        if (n == number)
            return QString::fromUtf8(text);
    }
    return QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。");
}

}  // namespace dorvelix
