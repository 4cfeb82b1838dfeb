// The texts of the tools menu and of the windows it opens: the subfolder
// breakdown, the copy check and the search's progress window.
#pragma once

#include "copy_check.h"

#include <QString>

namespace dorvelix::tool_text {

inline constexpr const char* ToolsMenu = "ツール(&T)";
inline constexpr const char* BreakdownEntry = "サブホルダの内訳(&B)";
inline constexpr const char* CopyCheckEntry = "コピー先チェック(&C)...";

inline constexpr const char* BreakdownTitle = "サブホルダの内訳";
inline constexpr const char* CopyCheckTitle = "コピー先チェック";
inline constexpr const char* ProgressTitle = "検索中";

// The breakdown's columns, in the order the table shows them.
inline constexpr const char* BreakdownColumns[] = {"名前",       "ホルダ数",     "ファイル数",   "占有クラスタ数",
                                                   "占有バイト数", "換算クラスタ数", "換算バイト数", "増加バイト数"};
inline constexpr const char* Totals = "合計";
inline constexpr const char* SearchedFolder = "ホルダ ：";
inline constexpr const char* NoSearchYet = "まだ検索していません";
inline constexpr const char* BreakdownStopped = "検索が中止されたため、内訳はありません";
inline constexpr const char* SaveCsv = "CSV で保存(&S)...";
inline constexpr const char* CsvFilter = "CSV (*.csv)";
inline constexpr const char* SaveFailed = "保存できませんでした";

inline constexpr const char* FolderToCopy = "コピーするホルダ ：";
inline constexpr const char* TargetCaption = "コピー先 ：";
inline constexpr const char* ChooseFolder = "ホルダを選ぶ(&F)...";
inline constexpr const char* Examine = "調べる";
inline constexpr const char* Stop = "中止";
inline constexpr const char* Close = "閉じる";
inline constexpr const char* Counted = "ホルダ数 %1  ファイル数 %2  経過 %3 秒";
inline constexpr const char* NeededBytes = "必要なバイト数 ：";
inline constexpr const char* FreeBytes = "コピー先の空きバイト数 ：";
inline constexpr const char* TargetClusterLength = "コピー先のクラスタ長 ：";
inline constexpr const char* Verdict = "判定 ：";
inline constexpr const char* Fits = "入ります";
inline constexpr const char* DoesNotFit = "入りません";
inline constexpr const char* Difference = "差 ：";
inline constexpr const char* Margin = "余裕 %1 バイト";
inline constexpr const char* Shortfall = "不足 %1 バイト";
inline constexpr const char* BlockedList = "FAT にコピーできないもの ：";
inline constexpr const char* BlockedColumns[] = {"パス", "理由"};
inline constexpr const char* NothingBlocked = "なし";
inline constexpr const char* NotFat = "FAT 系ではないので制限はありません";
inline constexpr const char* Stopped = "中止しました";
inline constexpr const char* TargetNoMedium = "%1 メディア未挿入？";
inline constexpr const char* TargetNoClusterLength = "%1 はクラスタ長を返しません";
inline constexpr const char* CannotOpenFolder = "ホルダを開けません ：%1";
inline constexpr const char* UnreadableCount = "読めなかったもの ：%1";

inline constexpr const char* ReadingFolder = "読み込み中 ：";
inline constexpr const char* SearchStopped = "検索を中止しました。中止までに数えたもの ：";
inline constexpr const char* CountedFolders = "ホルダ数 ：";
inline constexpr const char* CountedFiles = "ファイル数 ：";
inline constexpr const char* Elapsed = "経過時間 ：";
inline constexpr const char* Seconds = "%1 秒";

// An elapsed time in seconds with one decimal ("12.3").
QString secondsText(long long milliseconds);

// Why an entry will not copy to a FAT-family drive.
QString blockReason(BlockReason reason);

}  // namespace dorvelix::tool_text
