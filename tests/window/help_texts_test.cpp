#include "form_state.h"
#include "help_texts.h"
#include "recording_window.h"
#include "version_texts.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <vector>

using namespace dorvelix;

namespace {

// What each help text must hold: its title, the heading on its first line,
// its line count, and the lines a reader relies on (the search depth, the
// Shift key, the FAT cluster table, the conversion notes).
struct Expected {
    const char* title;
    const char* heading;
    int lines;                       // text lines, the empty one under the heading included
    bool trailingEmptyLine;          // texts 0 and 1 end with an empty line, texts 2 and 3 do not
    std::vector<const char*> holds;  // whole lines the text must contain
};

const std::vector<Expected> expectedTexts{
    {"DORVELIX 機能概要", "◇◇■■  機  能  概  要  ■■◇◇", 6, true,
     {"  ・検索パスレベルは15層までカバーしています。",
      "    すなわち、d:\\H1\\H2\\H3\\H4\\H5\\H6\\H7\\H8\\H9\\H10\\H11\\H12\\H13\\H15\\filename までです。"}},
    {"DORVELIX 使用方法", "◇◇■■  使  用  方  法  ■■◇◇", 9, true,
     {"  3)ドライブ変更時およびホルダー変更時、SHIFTキーを押下しながら",
      "     これを行うとホルダー検索を行いません。"}},
    {"ＦＡＴについて", "◇◇■■  ＦＡＴについて  ■■◇◇", 14, false,
     {"\u3000\u3000ＨＤＤ容量\u3000512MB\u3000～\u3000８GB\u3000：  4,096ﾊﾞｲﾄ",
      "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 ８GB\u3000～\u300016GB\u3000：  8,192ﾊﾞｲﾄ",
      "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 16GB  ～\u300032GB\u3000： 16,384ﾊﾞｲﾄ",
      "\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000 32GB\u3000～\u3000\u3000\u3000\u3000： 32,768ﾊﾞｲﾄ"}},
    {"DORVELIX その他説明", "◇◇■■  そ  の  他  ■■◇◇", 17, false,
     {"     ・換算クラスタ長はドライブ変更でクリアされます。",
      "     ・換算クラスタ長を変更した時は、そのホルダーを再検索して下さい。"}},
};

}  // namespace

TEST(HelpTexts, EveryTextHoldsItsLinesWithCrLfBreaks)
{
    ASSERT_EQ(expectedTexts.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        const Expected& e = expectedTexts[static_cast<size_t>(i)];
        QString text;
        ASSERT_TRUE(assembleHelpText(i, text));
        EXPECT_EQ(helpTitle(i), QString::fromUtf8(e.title));
        EXPECT_EQ(text.count(QStringLiteral("\r\n")), text.count(u'\n')) << "every line break is CR LF";
        EXPECT_EQ(text.count(u'\r'), text.count(u'\n')) << "no CR alone";
        EXPECT_TRUE(text.endsWith(QStringLiteral("\r\n"))) << i;
        EXPECT_EQ(text.endsWith(QStringLiteral("\r\n\r\n")), e.trailingEmptyLine) << i;

        QStringList lines = text.split(QStringLiteral("\r\n"));
        lines.removeLast();  // after the last line break
        if (e.trailingEmptyLine) {
            ASSERT_TRUE(lines.last().isEmpty()) << i;
            lines.removeLast();
        }
        ASSERT_EQ(lines.size(), e.lines) << i << "\n" << text.toStdString();
        EXPECT_EQ(lines[0].trimmed(), QString::fromUtf8(e.heading)) << i;
        EXPECT_TRUE(lines[0].startsWith(QString(18, u' '))) << "the heading is indented by 18 spaces";
        EXPECT_TRUE(lines[1].isEmpty()) << i;
        for (const char* line : e.holds)
            EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << i << ": " << line;
    }
    // Counted on the original: the ideographic spaces of the FAT text, which
    // align its cluster table.
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
    EXPECT_EQ(w.messages.back(), expectedVersionBoxText());
    EXPECT_NE(form.messageText, w.messages.back());
}
