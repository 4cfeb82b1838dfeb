// The answers of a copy check and of a cluster length comparison, put into
// words once for the report and the window alike: which text each part of
// an answer takes and the figures in it. The words themselves stay with each
// view (the report's English in report_texts.h, the window's translated
// texts in window_texts.h): a view lends them as AnswerWords and shows the
// composed texts and the typed verdicts it is given.
#pragma once

#include "cluster_lengths.h"
#include "target_check.h"
#include "target_drive.h"

#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace dorvelix {

// The words one view tells an answer in.
struct AnswerWords {
    // How a copy was counted: the FAT or exFAT driver's rule and the
    // target's layout (%1: vfat's shortname= value, the driver or the file
    // system), why a count is an estimate, and what is added after a rule.
    std::function<QString(CountRule)> rule;
    std::function<QString(LayoutRule)> layout;
    std::function<QString(CountCaveat)> caveat;
    QString unsureNames;      // names outside ASCII were counted with long names
    QString entryNotCounted;  // the entry the copy adds to the folder it goes into is not counted
    // Which length to format with: %1 the file system, %2 a length, %3
    // bytes; the default's text %1 the tool, %2 its length, %3 its bytes,
    // %4 the bytes more; the command's %1 the command.
    QString adviceLeast;
    QString adviceIsDefault;
    QString adviceDefault;
    QString adviceCommand;
    QString adviceNoneFits;
    QString adviceLargeFile;
    // What a copy runs out of: each limit's text (%1 what is needed, %2
    // what is left or allowed, %3 the entry concerned, shown by entry), and
    // the number of entries that pass it where more than one does (%1),
    // added after the limit's text or inside its closing bracket.
    std::function<QString(CopyLimit)> limit;
    std::function<QString(const std::string&)> entry;
    QString moreEntries;
    enum class MoreEntriesPlace { AfterText, InsideClosingBracket } moreEntriesPlace = MoreEntriesPlace::AfterText;
};

// How the count was reached: the rule or layout it follows, or why it is an
// estimate.
struct CountNote {
    QString text;
    bool exact = false;  // the count follows the rule the note names
};

// The note of a copy check; nothing where the count follows the target's
// own allocation (FAT12/16/32 by the folder tables' rule of the window).
std::optional<CountNote> countNote(const TargetCheck& check, const AnswerWords& words);
// Why a count at a file system's cluster length is an estimate; nothing for
// FAT12/16/32, whose allocation the count follows.
std::optional<CountNote> estimateNote(const QString& fileSystem, const AnswerWords& words);

// Whether a copy fits, and the bytes the target's free space leaves to spare
// or lacks.
struct CopyMargin {
    bool fits = false;         // no limit of the target runs out
    bool bytesRunOut = false;  // the free bytes run out (the first limit named)
    bool spare = false;        // the free bytes cover the copy, whatever other limit runs out
    long long bytes = 0;       // to spare, or short
};
CopyMargin copyMargin(const TargetCheck& check);
// One limit a copy runs out of, in words: "inodes: needs 8,001, 4,085 left".
QString limitText(const LimitReached& limit, const AnswerWords& words);

// A count or a number of bytes as every answer shows it: "1,234,567".
QString figureText(long long n);
// The slack at one length: the share of the bytes taken that the files'
// own bytes do not fill, in per cent with one decimal ("12.5"); nothing
// where the file system does not take the length.
std::optional<QString> slackShareText(const LengthJudgement& judgement);

// Which length to format a volume with, for one file system: the length
// that takes least, the formatting tool's default and what it takes more;
// and the command that formats with the length, where one fits.
struct AdviceText {
    QString advice;
    std::optional<QString> command;
};
AdviceText adviceText(const LengthsAnswer& answer, FreshFormat format, const AnswerWords& words);
// The name of a fresh volume's file system: "FAT32", "exFAT".
QString freshFormatName(FreshFormat format);

}  // namespace dorvelix
