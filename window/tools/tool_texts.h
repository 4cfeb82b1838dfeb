// The texts of the tools menu and of the windows it opens that are composed
// from figures; the constant texts are in window_texts.h.
#pragma once

#include "answer_wording.h"
#include "cluster_lengths.h"
#include "copy_check.h"
#include "target_check.h"
#include "window_texts.h"

#include <QString>

namespace dorvelix::tool_text {

// A menu or button text as a title or an accessible name: without its
// mnemonic "(&S)" and its trailing "..." ("CSV で保存(&S)..." -> "CSV で保存").
QString withoutMnemonic(const char* text);

// A walk's counts so far and its time: "ホルダ数 12  ファイル数 345  経過 1.2 秒".
QString countedText(const WalkProgress& counted, long long milliseconds);

// A count or a number of bytes with thousands separators ("1,234,567").
QString plainNumber(long long n);

// An elapsed time in seconds with one decimal ("12.3").
QString secondsText(long long milliseconds);

// Why an entry will not copy to a FAT-family drive.
QString blockReason(BlockReason reason);

// What a copy runs out of, in words: every limit of a check ("なし" where
// it fits).
QString limitsReached(const std::vector<LimitReached>& reached);

// The window's words for the answers' texts (answer_wording), in the
// window's language.
AnswerWords answerWords();

// How the needed bytes of a copy check were counted, in words; empty where
// the count follows the target's allocation.
QString countedBy(const TargetCheck& check);

// Which length to format with for one file system, in words: the length
// that takes least, the formatting tool's default for the capacity and what
// it takes more, and the command.
QString lengthAdvice(const LengthsAnswer& answer, FreshFormat format);

}  // namespace dorvelix::tool_text
