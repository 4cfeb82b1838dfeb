#include "runtime_error.h"

#include <array>
#include <utility>

namespace dorvelix {

QString errorDescription(int number)
{
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
