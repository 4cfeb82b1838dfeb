#include "form_state.h"
#include "help_texts.h"
#include "recording_window.h"

#include <QString>
#include <gtest/gtest.h>
#include <vector>

using namespace dorvelix;

namespace {

struct Expected {
    const char* title;
    std::vector<const char*> lines;  // as the box shows them, the empty line included
};

// The help texts line by line, as the user sees them.
const std::vector<Expected> expectedTexts{
    {"DORVELIX 機能概要",
     {
         "                  ◇◇■■  機  能  概  要  ■■◇◇",
         "",
         "  ・指定ドライブの全容量、使用容量、空き容量を表示します。",
         "  ・指定ホルダーと当該パスレベル以下が占有する容量を表示します。",
         "  ・検索パスレベルは15層までカバーしています。",
         "    すなわち、d:\\H1\\H2\\H3\\H4\\H5\\H6\\H7\\H8\\H9\\H10\\H11\\H12\\H13\\H15\\filename までです。",
     }},
    {"DORVELIX 使用方法",
     {
         "                  ◇◇■■  使  用  方  法  ■■◇◇",
         "",
         "  1)ドライブ名を指定・検索してドライブ容量等を取得・表示します。",
         "  2)検索したいホルダーをダブルクリックすると、そのホルダーと",
         "    そのパスレベル以下が占有しているドライブ容量等が表示されます。",
         "  3)ドライブ変更時およびホルダー変更時、SHIFTキーを押下しながら",
         "     これを行うとホルダー検索を行いません。",
         "  4)ファイルリスト中のファイル名をダブルクリックすると、そのファイル",
         "    情報を表示します。",
     }},
    {"ＦＡＴについて",
     {
         "                  ◇◇■■  ＦＡＴについて  ■■◇◇",
         "",
         "  ・ファイルシステム名でＦＡＴ（１６）とＦＡＴ３２について表示確認済です。",
         "  \u3000（ＮＴＦＳ、ＨＰＦＳ、ＥＸＴ２については未確認です。）",
         "  \u3000ただし、ＦＡＴ３２について、下記ＨＤＤ容量の境目では間違い表示があるかも",
         "    知れません。",
         "  ・右側に表示されている「ホルダー情報」は特に問題ありません。",
         "    ただし、上記理由からクラスタ長が正しく設定されていない場合があります。",
         "  \u3000\u3000この場合、下記を参考に、換算クラスタ長を指定してから実行してみて",
         "\u3000\u3000ください。",
         "\u3000\u3000ＨＤＤ容量\u3000512MB\u3000～\u3000８GB\u3000：  4,096ﾊﾞｲﾄ",
         "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 ８GB\u3000～\u300016GB\u3000：  8,192ﾊﾞｲﾄ",
         "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 16GB  ～\u300032GB\u3000： 16,384ﾊﾞｲﾄ",
         "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 32GB\u3000～\u3000\u3000\u3000\u3000： 32,768ﾊﾞｲﾄ",
     }},
    {"DORVELIX その他説明",
     {
         "                  ◇◇■■  そ  の  他  ■■◇◇",
         "",
         "   ・ホルダー情報欄の、上段は指定ホルダーのみ、下段は指定ホルダー",
         "     以下のそれぞれ占有するクラスター数、バイト数等を示します。",
         "   ・換算クラスタ長の指定により、指定パスレベル以下が占有する",
         "     クラスタ数と容量を換算して最下段欄に表示します。",
         "     ・換算クラスタ長はドライブ変更でクリアされます。",
         "     ・換算クラスタ長を変更した時は、そのホルダーを再検索して下さい。",
         "   ・ホルダー・ファイル名テーブルは、複数クラスタを占有する場合も少し",
         "     カバーしていますが不完全です。（ロングファイルネームがあった場合）",
         "     このため、クラスタ総数が一致しない場合があります。",
         "   ・クラスタ数の不一致が大きい場合は、「ごみ箱」残をチェックして下さい。",
         "   ・ホルダーの検索エラーがあった場合、当該ホルダー以下は検索されて",
         "     いません。またファイル名検索も同様です。",
         "   ・「ドライブ情報」欄表示値は、ドライブ情報検索用ＡＰＩ関数での取得値、",
         "   \u3000（ただし、ＦＡＴ３２の場合のクラスタ数・クラスタ長は逆算値）",
         "   \u3000「ホルダー情報」欄表示値は、ＺＫ４の関数での取得・計算値です。",
     }},
};

QString joined(const Expected& e, bool trailingEmptyLine)
{
    QString text;
    for (const char* line : e.lines)
        text += QString::fromUtf8(line) + QStringLiteral("\r\n");
    if (trailingEmptyLine)
        text += QStringLiteral("\r\n");
    return text;
}

}  // namespace

TEST(HelpTexts, EveryTextCharacterForCharacter)
{
    ASSERT_EQ(expectedTexts.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const Expected& e = expectedTexts[static_cast<size_t>(i)];
        QString text;
        ASSERT_TRUE(assembleHelpText(i, text));
        // Texts 0 and 1 end with an empty line, texts 2 and 3 do not.
        EXPECT_EQ(text, joined(e, i < 2)) << "text " << i << "\n" << text.toStdString();
        EXPECT_EQ(helpTitle(i), QString::fromUtf8(e.title));
        EXPECT_EQ(text.count(QStringLiteral("\r\n")), text.count(u'\n')) << "every line break is CR LF";
    }
    // Counted on the original, independently of the lines above: the
    // ideographic spaces of the FAT text.
    QString fat;
    assembleHelpText(2, fat);
    EXPECT_EQ(fat.count(QChar(0x3000)), 46);
}

TEST(HelpTexts, MenuClicksShowTheBoxes)
{
    FormState form;
    struct TitleWindow : RecordingWindow {
        std::vector<QString> titles;
        void messageBox(const QString& text, const QString& title) override
        {
            RecordingWindow::messageBox(text, title);
            titles.push_back(title);
        }
    } w;

    showHelpText(form, w, 2);
    ASSERT_EQ(w.messages.size(), 1);
    EXPECT_EQ(w.titles.back(), QStringLiteral("ＦＡＴについて"));
    EXPECT_EQ(form.messageText, w.messages.back());  // kept in the message slot

    // An index outside the four shows nothing and leaves the slot alone.
    showHelpText(form, w, 4);
    showHelpText(form, w, -1);
    EXPECT_EQ(w.messages.size(), 1);
    EXPECT_EQ(form.messageText, w.messages.back());

    // The version box: no title of its own, and the message slot untouched.
    showVersion(w);
    ASSERT_EQ(w.messages.size(), 2);
    EXPECT_TRUE(w.titles.back().isEmpty());
    EXPECT_EQ(w.messages.back(), QStringLiteral("\u3000\u3000Dorvelix.exe Ver 0.982\r\n\r\n         2001.3\r\n\r\n"
                                                "\u3000\u3000support@dorvelix.example"));
    EXPECT_NE(form.messageText, w.messages.back());
}
