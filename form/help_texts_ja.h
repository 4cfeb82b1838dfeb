// The help menu's four texts in Japanese, each written once, marked for
// lupdate in the context "dorvelix" as the other window texts are
// (window_texts.h).
#pragma once

#include <QtGlobal>

#include <array>
#include <vector>

namespace dorvelix::texts {

// One help text: its title, its banner and the lines below the banner. The
// lines keep their exact indentation: ASCII spaces, ideographic spaces
// (U+3000) and full-width letters. A \u escape followed by a hexadecimal
// digit ends its literal ("\u3000" "512MB"): lupdate would read the digit as
// part of the escape. A line's translation may span several lines.
struct HelpText {
    const char* title;
    const char* banner;
    std::vector<const char*> lines;
    bool endsWithEmptyLine;
};

inline const std::array<HelpText, 4>& helpTexts()
{
    static const std::array<HelpText, 4> texts{{
        {QT_TRANSLATE_NOOP("dorvelix", "DORVELIX 機能概要"),
         QT_TRANSLATE_NOOP("dorvelix", "                  ◇◇■■  機  能  概  要  ■■◇◇"),
         {
             QT_TRANSLATE_NOOP("dorvelix", "  ・指定ドライブの全容量、使用容量、空き容量を表示します。"),
             QT_TRANSLATE_NOOP("dorvelix", "  ・指定ホルダーと当該パスレベル以下が占有する容量を表示します。"),
             QT_TRANSLATE_NOOP("dorvelix", "  ・検索パスレベルは15層までカバーしています。"),
             QT_TRANSLATE_NOOP("dorvelix", "    すなわち、d:\\H1\\H2\\H3\\H4\\H5\\H6\\H7\\H8\\H9\\H10\\H11\\H12\\H13\\H15\\filename までです。"),
         },
         true},
        {QT_TRANSLATE_NOOP("dorvelix", "DORVELIX 使用方法"),
         QT_TRANSLATE_NOOP("dorvelix", "                  ◇◇■■  使  用  方  法  ■■◇◇"),
         {
             QT_TRANSLATE_NOOP("dorvelix", "  1)ドライブ名を指定・検索してドライブ容量等を取得・表示します。"),
             QT_TRANSLATE_NOOP("dorvelix", "  2)検索したいホルダーをダブルクリックすると、そのホルダーと"),
             QT_TRANSLATE_NOOP("dorvelix", "    そのパスレベル以下が占有しているドライブ容量等が表示されます。"),
             QT_TRANSLATE_NOOP("dorvelix", "  3)ドライブ変更時およびホルダー変更時、SHIFTキーを押下しながら"),
             QT_TRANSLATE_NOOP("dorvelix", "     これを行うとホルダー検索を行いません。"),
             QT_TRANSLATE_NOOP("dorvelix", "  4)ファイルリスト中のファイル名をダブルクリックすると、そのファイル"),
             QT_TRANSLATE_NOOP("dorvelix", "    情報を表示します。"),
         },
         true},
        {QT_TRANSLATE_NOOP("dorvelix", "ＦＡＴについて"),
         QT_TRANSLATE_NOOP("dorvelix", "                  ◇◇■■  ＦＡＴについて  ■■◇◇"),
         {
             QT_TRANSLATE_NOOP("dorvelix", "  ・ファイルシステム名でＦＡＴ（１６）とＦＡＴ３２について表示確認済です。"),
             QT_TRANSLATE_NOOP("dorvelix", "  \u3000（ＮＴＦＳ、ＨＰＦＳ、ＥＸＴ２については未確認です。）"),
             QT_TRANSLATE_NOOP("dorvelix", "  \u3000ただし、ＦＡＴ３２について、下記ＨＤＤ容量の境目では間違い表示があるかも"),
             QT_TRANSLATE_NOOP("dorvelix", "    知れません。"),
             QT_TRANSLATE_NOOP("dorvelix", "  ・右側に表示されている「ホルダー情報」は特に問題ありません。"),
             QT_TRANSLATE_NOOP("dorvelix", "    ただし、上記理由からクラスタ長が正しく設定されていない場合があります。"),
             QT_TRANSLATE_NOOP("dorvelix", "  \u3000\u3000この場合、下記を参考に、換算クラスタ長を指定してから実行してみて"),
             QT_TRANSLATE_NOOP("dorvelix", "\u3000\u3000ください。"),
             QT_TRANSLATE_NOOP("dorvelix", "\u3000\u3000ＨＤＤ容量\u3000" "512MB\u3000～\u3000８GB\u3000：  4,096ﾊﾞｲﾄ"),
             QT_TRANSLATE_NOOP("dorvelix", "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 ８GB\u3000～\u3000" "16GB\u3000：  8,192ﾊﾞｲﾄ"),
             QT_TRANSLATE_NOOP("dorvelix", "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 16GB  ～\u3000" "32GB\u3000： 16,384ﾊﾞｲﾄ"),
             QT_TRANSLATE_NOOP("dorvelix", "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 32GB\u3000～\u3000\u3000\u3000\u3000： 32,768ﾊﾞｲﾄ"),
         },
         false},
        {QT_TRANSLATE_NOOP("dorvelix", "DORVELIX その他説明"),
         QT_TRANSLATE_NOOP("dorvelix", "                  ◇◇■■  そ  の  他  ■■◇◇"),
         {
             QT_TRANSLATE_NOOP("dorvelix", "   ・ホルダー情報欄の、上段は指定ホルダーのみ、下段は指定ホルダー"),
             QT_TRANSLATE_NOOP("dorvelix", "     以下のそれぞれ占有するクラスター数、バイト数等を示します。"),
             QT_TRANSLATE_NOOP("dorvelix", "   ・換算クラスタ長の指定により、指定パスレベル以下が占有する"),
             QT_TRANSLATE_NOOP("dorvelix", "     クラスタ数と容量を換算して最下段欄に表示します。"),
             QT_TRANSLATE_NOOP("dorvelix", "     ・換算クラスタ長はドライブ変更でクリアされます。"),
             QT_TRANSLATE_NOOP("dorvelix", "     ・換算クラスタ長を変更した時は、そのホルダーを再検索して下さい。"),
             QT_TRANSLATE_NOOP("dorvelix", "   ・ホルダー・ファイル名テーブルは、複数クラスタを占有する場合も少し"),
             QT_TRANSLATE_NOOP("dorvelix", "     カバーしていますが不完全です。（ロングファイルネームがあった場合）"),
             QT_TRANSLATE_NOOP("dorvelix", "     このため、クラスタ総数が一致しない場合があります。"),
             QT_TRANSLATE_NOOP("dorvelix", "   ・クラスタ数の不一致が大きい場合は、「ごみ箱」残をチェックして下さい。"),
             QT_TRANSLATE_NOOP("dorvelix", "   ・ホルダーの検索エラーがあった場合、当該ホルダー以下は検索されて"),
             QT_TRANSLATE_NOOP("dorvelix", "     いません。またファイル名検索も同様です。"),
             QT_TRANSLATE_NOOP("dorvelix", "   ・「ドライブ情報」欄表示値は、ドライブ情報検索用ＡＰＩ関数での取得値、"),
             QT_TRANSLATE_NOOP("dorvelix", "   \u3000（ただし、ＦＡＴ３２の場合のクラスタ数・クラスタ長は逆算値）"),
             QT_TRANSLATE_NOOP("dorvelix", "   \u3000「ホルダー情報」欄表示値は、ＺＫ４の関数での取得・計算値です。"),
         },
         false},
    }};
    return texts;
}

}  // namespace dorvelix::texts
