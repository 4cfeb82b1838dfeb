#include "help_texts.h"

#include "program_version.h"
#include "text.h"

#include <array>
#include <vector>

namespace dorvelix {

namespace {

// One help text: its title, its banner and the lines below the banner. The
// lines keep their exact indentation: ASCII spaces, ideographic spaces
// (U+3000) and full-width letters.
struct HelpText {
    const char16_t* title;
    const char16_t* banner;
    std::vector<const char16_t*> lines;
    bool endsWithEmptyLine;
};

const std::array<HelpText, HelpTextCount>& helpTexts()
{
    static const std::array<HelpText, HelpTextCount> texts{{
        {u"DORVELIX 機能概要",
         u"                  ◇◇■■  機  能  概  要  ■■◇◇",
         {
             u"  ・指定ドライブの全容量、使用容量、空き容量を表示します。",
             u"  ・指定ホルダーと当該パスレベル以下が占有する容量を表示します。",
             u"  ・検索パスレベルは15層までカバーしています。",
             u"    すなわち、d:\\H1\\H2\\H3\\H4\\H5\\H6\\H7\\H8\\H9\\H10\\H11\\H12\\H13\\H15\\filename までです。",
         },
         true},
        {u"DORVELIX 使用方法",
         u"                  ◇◇■■  使  用  方  法  ■■◇◇",
         {
             u"  1)ドライブ名を指定・検索してドライブ容量等を取得・表示します。",
             u"  2)検索したいホルダーをダブルクリックすると、そのホルダーと",
             u"    そのパスレベル以下が占有しているドライブ容量等が表示されます。",
             u"  3)ドライブ変更時およびホルダー変更時、SHIFTキーを押下しながら",
             u"     これを行うとホルダー検索を行いません。",
             u"  4)ファイルリスト中のファイル名をダブルクリックすると、そのファイル",
             u"    情報を表示します。",
         },
         true},
        {u"ＦＡＴについて",
         u"                  ◇◇■■  ＦＡＴについて  ■■◇◇",
         {
             u"  ・ファイルシステム名でＦＡＴ（１６）とＦＡＴ３２について表示確認済です。",
             u"  \u3000（ＮＴＦＳ、ＨＰＦＳ、ＥＸＴ２については未確認です。）",
             u"  \u3000ただし、ＦＡＴ３２について、下記ＨＤＤ容量の境目では間違い表示があるかも",
             u"    知れません。",
             u"  ・右側に表示されている「ホルダー情報」は特に問題ありません。",
             u"    ただし、上記理由からクラスタ長が正しく設定されていない場合があります。",
             u"  \u3000\u3000この場合、下記を参考に、換算クラスタ長を指定してから実行してみて",
             u"\u3000\u3000ください。",
             u"\u3000\u3000ＨＤＤ容量\u3000512MB\u3000～\u3000８GB\u3000：  4,096ﾊﾞｲﾄ",
             u"\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 ８GB\u3000～\u300016GB\u3000：  8,192ﾊﾞｲﾄ",
             u"\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 16GB  ～\u300032GB\u3000： 16,384ﾊﾞｲﾄ",
             u"\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 32GB\u3000～\u3000\u3000\u3000\u3000： 32,768ﾊﾞｲﾄ",
         },
         false},
        {u"DORVELIX その他説明",
         u"                  ◇◇■■  そ  の  他  ■■◇◇",
         {
             u"   ・ホルダー情報欄の、上段は指定ホルダーのみ、下段は指定ホルダー",
             u"     以下のそれぞれ占有するクラスター数、バイト数等を示します。",
             u"   ・換算クラスタ長の指定により、指定パスレベル以下が占有する",
             u"     クラスタ数と容量を換算して最下段欄に表示します。",
             u"     ・換算クラスタ長はドライブ変更でクリアされます。",
             u"     ・換算クラスタ長を変更した時は、そのホルダーを再検索して下さい。",
             u"   ・ホルダー・ファイル名テーブルは、複数クラスタを占有する場合も少し",
             u"     カバーしていますが不完全です。（ロングファイルネームがあった場合）",
             u"     このため、クラスタ総数が一致しない場合があります。",
             u"   ・クラスタ数の不一致が大きい場合は、「ごみ箱」残をチェックして下さい。",
             u"   ・ホルダーの検索エラーがあった場合、当該ホルダー以下は検索されて",
             u"     いません。またファイル名検索も同様です。",
             u"   ・「ドライブ情報」欄表示値は、ドライブ情報検索用ＡＰＩ関数での取得値、",
             u"   \u3000（ただし、ＦＡＴ３２の場合のクラスタ数・クラスタ長は逆算値）",
             u"   \u3000「ホルダー情報」欄表示値は、ＺＫ４の関数での取得・計算値です。",
         },
         false},
    }};
    return texts;
}

}  // namespace

QString helpTitle(int index)
{
    if (index < 0 || index >= HelpTextCount)
        return {};
    return QString::fromUtf16(helpTexts()[static_cast<size_t>(index)].title);
}

bool assembleHelpText(int index, QString& msgText)
{
    if (index < 0 || index >= HelpTextCount)
        return false;
    const HelpText& t = helpTexts()[static_cast<size_t>(index)];
    msgText.clear();
    msgText += QString::fromUtf16(t.banner) + CrLf + CrLf;
    for (const char16_t* line : t.lines)
        msgText += QString::fromUtf16(line) + CrLf;
    if (t.endsWithEmptyLine)
        msgText += CrLf;
    return true;
}

QString versionText()
{
    return QString::fromUtf16(u"\u3000\u3000Dorvelix.exe Ver ") + QLatin1String(ProgramVersion) + CrLf + CrLf
        + QStringLiteral("         ") + QLatin1String(ReleaseMonth) + CrLf + CrLf
        + QString::fromUtf16(u"\u3000\u3000support@dorvelix.example");
}

void showHelpText(FormState& form, WindowServices& window, int index)
{
    if (!assembleHelpText(index, form.messageText))
        return;
    window.messageBox(form.messageText, helpTitle(index));
}

void showVersion(WindowServices& window)
{
    window.messageBox(versionText());
}

}  // namespace dorvelix
