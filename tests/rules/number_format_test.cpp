#include "number_format.h"
#include "text.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace dorvelix;

TEST(NumberFormat, PatternsGroupByThreeWithCommas)
{
    EXPECT_EQ(formatNumber(0LL), QStringLiteral(" 0 "));
    EXPECT_EQ(formatNumber(999LL), QStringLiteral(" 999 "));
    EXPECT_EQ(formatNumber(1234LL), QStringLiteral(" 1,234 "));
    EXPECT_EQ(formatNumber(3221225472LL), QStringLiteral(" 3,221,225,472 "));
    EXPECT_EQ(formatNumber(-1234567LL), QStringLiteral(" -1,234,567 "));
    EXPECT_EQ(formatNumber(1234567LL, NumberPattern::Plain), QStringLiteral("1,234,567"));
    EXPECT_EQ(formatNumber(0, NumberPattern::Plain), QStringLiteral("0"));
}

TEST(NumberFormat, FloatingValuesRoundHalvesAwayFromZero)
{
    EXPECT_EQ(formatNumber(122070.3125), QStringLiteral(" 122,070 "));
    EXPECT_EQ(formatNumber(366210.6875), QStringLiteral(" 366,211 "));
    EXPECT_EQ(formatNumber(2.5), QStringLiteral(" 3 "));
    EXPECT_EQ(formatNumber(1.0e20), QStringLiteral(" 100,000,000,000,000,000,000 "));
    EXPECT_EQ(formatPercent(0.25), QStringLiteral(" 25.0 % "));
    EXPECT_EQ(formatPercent(0.0), QStringLiteral(" 0.0 % "));
    EXPECT_EQ(formatPercent(1.0), QStringLiteral(" 100.0 % "));
    EXPECT_EQ(formatPercent(0.12345), QStringLiteral(" 12.3 % "));
    EXPECT_EQ(formatPercent(0.00049), QStringLiteral(" 0.0 % "));
}

TEST(NumberFormat, TheUsersLocaleDoesNotChangeSeparators)
{
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(formatNumber(1234567LL), QStringLiteral(" 1,234,567 "));
    EXPECT_EQ(formatPercent(0.256), QStringLiteral(" 25.6 % "));
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(formatNumber(1234567.0), QStringLiteral(" 1,234,567 "));
    QLocale::setDefault(saved);
}

TEST(NumberFormat, HexAndSignedNumberText)
{
    EXPECT_EQ(formatHex(1234), QStringLiteral("4D2"));
    EXPECT_EQ(formatHex(0), QStringLiteral("0"));
    EXPECT_EQ(formatHex(3221225472LL), QStringLiteral("C0000000"));
    EXPECT_EQ(signedNumberText(76), QStringLiteral(" 76"));
    EXPECT_EQ(signedNumberText(0), QStringLiteral(" 0"));
    EXPECT_EQ(signedNumberText(-5), QStringLiteral("-5"));
}

TEST(Text, CharacterCountCountsCodePointsAndEachInvalidByte)
{
    EXPECT_EQ(characterCount("ABCDEFGH.TXT"), 12);
    EXPECT_EQ(characterCount("ファイル名.txt"), 9);      // 5 three-byte characters and ".txt"
    EXPECT_EQ(characterCount("\xF0\x9F\x98\x80"), 1);    // one four-byte character
    EXPECT_EQ(characterCount("\xFF\xFE"), 2);            // two invalid bytes
    EXPECT_EQ(characterCount("\xC0\xAF"), 2);            // overlong "/" is invalid
    EXPECT_EQ(characterCount("\xED\xA0\x80"), 3);        // a surrogate is invalid
    EXPECT_EQ(characterCount("a\xE3\x81"), 3);           // truncated sequence at the end
    EXPECT_EQ(characterCount(""), 0);
}

TEST(Text, DisplayKeepsCaseAndMarksBadBytes)
{
    EXPECT_EQ(displayText("/home/Ab\xFF"), QStringLiteral("/home/Ab\uFFFD"));
}

TEST(Text, EscapedControlsKeepOneRowPerLineAndStayUnambiguous)
{
    EXPECT_EQ(escapedControls(QStringLiteral("a\tb\nc\rd")), QStringLiteral("a\\tb\\nc\\rd"));
    EXPECT_EQ(escapedControls(QString::fromUtf8("\x1b[31m\x7f\xc2\x85")), QStringLiteral("\\x1b[31m\\x7f\\x85"));
    // A backslash doubles, so a name holding "\t" as two characters differs
    // from one holding a tab.
    EXPECT_EQ(escapedControls(QStringLiteral("a\\tb")), QStringLiteral("a\\\\tb"));
    EXPECT_EQ(escapedControls(QStringLiteral("写真 2024/ファイル\uFFFD.txt")), QStringLiteral("写真 2024/ファイル\uFFFD.txt"));
}
