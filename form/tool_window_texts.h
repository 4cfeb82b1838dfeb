// Every Japanese text of the tools menu and of the windows it opens, marked
// and translated as those of window_texts.h, which includes this file.
#pragma once

#include <QtGlobal>

// The tools menu and the windows it opens: the subfolder breakdown, the
// copy check and the search's progress window.
namespace dorvelix::tool_text {

inline constexpr const char* ToolsMenu = QT_TRANSLATE_NOOP("dorvelix", "ツール(&T)");
inline constexpr const char* BreakdownEntry = QT_TRANSLATE_NOOP("dorvelix", "サブホルダの内訳(&B)");
inline constexpr const char* CopyCheckEntry = QT_TRANSLATE_NOOP("dorvelix", "コピー先チェック(&C)...");

inline constexpr const char* BreakdownTitle = QT_TRANSLATE_NOOP("dorvelix", "サブホルダの内訳");
inline constexpr const char* CopyCheckTitle = QT_TRANSLATE_NOOP("dorvelix", "コピー先チェック");
inline constexpr const char* ProgressTitle = QT_TRANSLATE_NOOP("dorvelix", "検索中");

// The breakdown's columns, in the order the table shows them.
inline constexpr const char* BreakdownColumns[] = {
    QT_TRANSLATE_NOOP("dorvelix", "名前"),
    QT_TRANSLATE_NOOP("dorvelix", "ホルダ数"),
    QT_TRANSLATE_NOOP("dorvelix", "ファイル数"),
    QT_TRANSLATE_NOOP("dorvelix", "占有クラスタ数"),
    QT_TRANSLATE_NOOP("dorvelix", "占有バイト数"),
    QT_TRANSLATE_NOOP("dorvelix", "換算クラスタ数"),
    QT_TRANSLATE_NOOP("dorvelix", "換算バイト数"),
    QT_TRANSLATE_NOOP("dorvelix", "増加バイト数"),
};
// The share column: each row's part of the converted total, as a bar.
inline constexpr const char* ShareColumn = QT_TRANSLATE_NOOP("dorvelix", "換算バイト数の割合");
inline constexpr const char* Totals = QT_TRANSLATE_NOOP("dorvelix", "合計");
// The conversion length the breakdown's converted figures use.
inline constexpr const char* BreakdownLength = QT_TRANSLATE_NOOP("dorvelix", "換算クラスタ長 ：%1 バイト");
// The table's context menu: sort by a column (chosen again: the other way).
inline constexpr const char* SortBy = QT_TRANSLATE_NOOP("dorvelix", "「%1」で並べ替え");
inline constexpr const char* SearchedFolder = QT_TRANSLATE_NOOP("dorvelix", "ホルダ ：");
inline constexpr const char* NoSearchYet = QT_TRANSLATE_NOOP("dorvelix", "まだ検索していません");
inline constexpr const char* BreakdownStopped = QT_TRANSLATE_NOOP("dorvelix", "検索が中止されたため、内訳はありません");
inline constexpr const char* SaveCsv = QT_TRANSLATE_NOOP("dorvelix", "CSV で保存(&S)...");
inline constexpr const char* CsvFilter = "CSV (*.csv)";
inline constexpr const char* SaveFailed = QT_TRANSLATE_NOOP("dorvelix", "保存できませんでした");
// Browsing what the search counted: the path bar, going back and forward,
// and the search of the folder shown in the main window.
inline constexpr const char* PathBar = QT_TRANSLATE_NOOP("dorvelix", "場所");
inline constexpr const char* BrowseBack = QT_TRANSLATE_NOOP("dorvelix", "戻る (Alt+←)");
inline constexpr const char* BrowseForward = QT_TRANSLATE_NOOP("dorvelix", "進む (Alt+→)");
inline constexpr const char* BrowseUp = QT_TRANSLATE_NOOP("dorvelix", "上のホルダへ (BackSpace)");
inline constexpr const char* SearchThisFolder = QT_TRANSLATE_NOOP("dorvelix", "このホルダを検索(&E)");
// Keeping the counted folders and comparing a later search with them.
inline constexpr const char* SaveScan = QT_TRANSLATE_NOOP("dorvelix", "保存(&V)...");
inline constexpr const char* CompareScan = QT_TRANSLATE_NOOP("dorvelix", "前回と比較(&P)...");
inline constexpr const char* ScanFilter = QT_TRANSLATE_NOOP("dorvelix", "検索結果 (*.json)");
inline constexpr const char* ScanUnreadable = QT_TRANSLATE_NOOP("dorvelix", "前回の検索結果として読めません");
// Why a file is no saved scan, in the order of SavedScanError's kinds.
inline constexpr const char* ScanErrors[] = {
    QT_TRANSLATE_NOOP("dorvelix", "ファイルを読めません"),
    QT_TRANSLATE_NOOP("dorvelix", "ファイルが途中で終わっています"),
    QT_TRANSLATE_NOOP("dorvelix", "JSON の書き方になっていません"),
    QT_TRANSLATE_NOOP("dorvelix", "検索結果のファイルではありません"),
    QT_TRANSLATE_NOOP("dorvelix", "ほかのプログラムのファイルです"),
    QT_TRANSLATE_NOOP("dorvelix", "新しい版で保存されたファイルです"),
    QT_TRANSLATE_NOOP("dorvelix", "比較に要る数値がありません"),
    QT_TRANSLATE_NOOP("dorvelix", "長すぎる名前があります"),
};
inline constexpr const char* ScanNotAnswering = QT_TRANSLATE_NOOP("dorvelix", "ファイルのドライブが応答しません");
inline constexpr const char* ComparisonTitle = QT_TRANSLATE_NOOP("dorvelix", "前回との比較");
inline constexpr const char* ComparisonFolders = QT_TRANSLATE_NOOP("dorvelix", "前回 ：%1　今回 ：%2");
inline constexpr const char* ComparisonNoChange = QT_TRANSLATE_NOOP("dorvelix", "変わったホルダはありません");
inline constexpr const char* ComparisonColumns[] = {
    QT_TRANSLATE_NOOP("dorvelix", "ホルダ"),
    QT_TRANSLATE_NOOP("dorvelix", "変化"),
    QT_TRANSLATE_NOOP("dorvelix", "前回の占有バイト数"),
    QT_TRANSLATE_NOOP("dorvelix", "今回の占有バイト数"),
    QT_TRANSLATE_NOOP("dorvelix", "増えたバイト数"),
    QT_TRANSLATE_NOOP("dorvelix", "前回のファイル数"),
    QT_TRANSLATE_NOOP("dorvelix", "今回のファイル数"),
};
inline constexpr const char* ChangeKinds[] = {
    QT_TRANSLATE_NOOP("dorvelix", "変更"),
    QT_TRANSLATE_NOOP("dorvelix", "追加"),
    QT_TRANSLATE_NOOP("dorvelix", "消失"),
};
// The treemap beside the breakdown: one tile per subfolder of the folder
// shown and one for its own files, each as large as what it occupies at the
// conversion length, coloured by the share of that which is slack.
inline constexpr const char* TreemapName = QT_TRANSLATE_NOOP("dorvelix", "換算バイト数のツリーマップ");
inline constexpr const char* TreemapDescription = QT_TRANSLATE_NOOP("dorvelix",
    "ホルダごとのタイル。面積は換算クラスタ長での占有バイト数、色は余りの割合（占有バイト数のうちファイル自体のバイト数を超える部分）です。"
    "矢印キーでタイルを移り、Enter でそのホルダに入ります");
// %1 the folder, %2 its occupied bytes, %3 its files' own bytes, %4 the slack share.
inline constexpr const char* TreemapTile = QT_TRANSLATE_NOOP("dorvelix", "%1：占有バイト数 %2、ファイル自体のバイト数 %3、余り %4");
inline constexpr const char* TreemapOwnFiles = QT_TRANSLATE_NOOP("dorvelix", "%1（ホルダ自体のファイルとテーブル）");
inline constexpr const char* TreemapLegend = QT_TRANSLATE_NOOP("dorvelix", "色：余りの割合");
inline constexpr const char* TreemapEmpty = QT_TRANSLATE_NOOP("dorvelix", "占有するものがありません");

inline constexpr const char* FolderToCopy = QT_TRANSLATE_NOOP("dorvelix", "コピーするホルダ ：");
inline constexpr const char* TargetCaption = QT_TRANSLATE_NOOP("dorvelix", "コピー先 ：");
inline constexpr const char* ChooseFolder = QT_TRANSLATE_NOOP("dorvelix", "ホルダを選ぶ(&F)...");
// The folder chooser's title.
inline constexpr const char* ChooseTargetTitle = QT_TRANSLATE_NOOP("dorvelix", "コピー先のホルダを選ぶ");
inline constexpr const char* Examine = QT_TRANSLATE_NOOP("dorvelix", "調べる");
inline constexpr const char* Stop = QT_TRANSLATE_NOOP("dorvelix", "中止");
inline constexpr const char* Close = texts::CloseButton;
inline constexpr const char* Counted = QT_TRANSLATE_NOOP("dorvelix", "ホルダ数 %1  ファイル数 %2  経過 %3 秒");
inline constexpr const char* NeededBytes = QT_TRANSLATE_NOOP("dorvelix", "必要なバイト数 ：");
inline constexpr const char* FreeBytes = QT_TRANSLATE_NOOP("dorvelix", "コピー先の空きバイト数 ：");
inline constexpr const char* TargetClusterLength = QT_TRANSLATE_NOOP("dorvelix", "コピー先のクラスタ長 ：");
inline constexpr const char* Verdict = QT_TRANSLATE_NOOP("dorvelix", "判定 ：");
inline constexpr const char* Fits = QT_TRANSLATE_NOOP("dorvelix", "入ります");
inline constexpr const char* DoesNotFit = QT_TRANSLATE_NOOP("dorvelix", "入りません");
inline constexpr const char* Difference = QT_TRANSLATE_NOOP("dorvelix", "差 ：");
inline constexpr const char* Margin = QT_TRANSLATE_NOOP("dorvelix", "余裕 %1 バイト");
inline constexpr const char* Shortfall = QT_TRANSLATE_NOOP("dorvelix", "不足 %1 バイト");
inline constexpr const char* TargetFileSystem = QT_TRANSLATE_NOOP("dorvelix", "コピー先のファイルシステム ：");
inline constexpr const char* CountedBy = QT_TRANSLATE_NOOP("dorvelix", "数え方 ：");
// How the copy's folder tables were counted on a FAT or exFAT target (%1:
// vfat's shortname= value, or the driver), and the count elsewhere.
inline constexpr const char* VfatUpperCaseRule = QT_TRANSLATE_NOOP("dorvelix", "Linux vfat、shortname=%1：大文字だけの 8.3 の名前のほかは全て長い名前付き");
inline constexpr const char* VfatOneCaseRule =
    QT_TRANSLATE_NOOP("dorvelix", "Linux vfat、shortname=%1：名前と拡張子がそれぞれ大文字だけか小文字だけの 8.3 の名前のほかは全て長い名前付き");
inline constexpr const char* FusefatRule = QT_TRANSLATE_NOOP("dorvelix", "fusefat：全ての名前に長い名前");
inline constexpr const char* UnknownFatDriverRule = QT_TRANSLATE_NOOP("dorvelix", "%1（ここでは知られていないドライバ）：全ての名前に長い名前を数えました");
inline constexpr const char* ExfatRule = QT_TRANSLATE_NOOP("dorvelix", "exFAT（%1）：名前ごとにファイル、ストリーム拡張と 15 文字ごとのファイル名のエントリ");
inline constexpr const char* UnsureNamesNote = QT_TRANSLATE_NOOP("dorvelix", "。ASCII 以外の文字を含む名前は長い名前で数えました");
inline constexpr const char* EntryNotCountedNote = QT_TRANSLATE_NOOP("dorvelix", "。コピー先のホルダに加わるエントリは数えていません");
inline constexpr const char* EstimatedByTableRule = QT_TRANSLATE_NOOP("dorvelix", "見積もり：このファイルシステムは FAT とは違う規則で割り当てます");
// How a copy to a target that is neither FAT nor exFAT was counted (%1:
// the mount's driver, or the file system).
inline constexpr const char* NtfsLayoutRule =
    QT_TRANSLATE_NOOP("dorvelix", "NTFS（%1）：エントリごとに MFT レコード 1 つ、小さなファイルはその中、ホルダの索引はブロック単位");
inline constexpr const char* ExtLayoutRule =
    QT_TRANSLATE_NOOP("dorvelix", "%1：データとホルダのブロック、エクステントかマップのブロック、エントリごとに i ノード 1 つ");
inline constexpr const char* BtrfsLayoutRule =
    QT_TRANSLATE_NOOP("dorvelix", "btrfs：データはセクタ単位、小さなファイルはインライン、メタデータはプロファイルに従ったチャンク単位");
inline constexpr const char* F2fsLayoutRule =
    QT_TRANSLATE_NOOP("dorvelix", "f2fs：エントリごとにノードブロック 1 つ、小さなファイルとホルダはインライン、ホルダのブロックはハッシュ順");
inline constexpr const char* BoundLayoutRule = QT_TRANSLATE_NOOP(
    "dorvelix", "%1 の割り当て方はここでは分からないため、多めに数えました：エントリごとに 4,096 バイト以上の単位 1 つ、ホルダごとに名前のバイト数の 2 倍、コピー先のホルダに加わるエントリに 1 単位");
// The files, folders and links the copy makes (%1), and the inodes the
// target has free (%2) where it counts them.
inline constexpr const char* EntriesMade = QT_TRANSLATE_NOOP("dorvelix", "作るファイルとホルダ ：");
inline constexpr const char* EntriesCount = QT_TRANSLATE_NOOP("dorvelix", "%1 個");
inline constexpr const char* EntriesAndFreeInodes = QT_TRANSLATE_NOOP("dorvelix", "%1 個（空き i ノード %2 個）");
// What the copy runs out of (%1 needed, %2 left or allowed, %3 the entry).
inline constexpr const char* RunsOut = QT_TRANSLATE_NOOP("dorvelix", "足りないもの ：");
inline constexpr const char* BytesRunOut = QT_TRANSLATE_NOOP("dorvelix", "バイト数（必要 %1、残り %2）");
inline constexpr const char* InodesRunOut = QT_TRANSLATE_NOOP("dorvelix", "i ノード（必要 %1 個、残り %2 個）");
inline constexpr const char* FolderEntriesRunOut = QT_TRANSLATE_NOOP("dorvelix", "ホルダのエントリ数（「%3」に %1 個、上限 %2 個）");
inline constexpr const char* RootTableRunOut = QT_TRANSLATE_NOOP("dorvelix", "ルートのエントリ（「%3」に続いた空き %1 個が必要、残り %2 個）");
inline constexpr const char* FileSizeRunOut = QT_TRANSLATE_NOOP("dorvelix", "ファイルの大きさ（「%3」が %1 バイト、上限 %2 バイト）");
inline constexpr const char* InAll = QT_TRANSLATE_NOOP("dorvelix", "、全部で %1 個");
inline constexpr const char* ListSeparator = QT_TRANSLATE_NOOP("dorvelix", "、");
inline constexpr const char* BlockedList = QT_TRANSLATE_NOOP("dorvelix", "FAT にコピーできないもの ：");
inline constexpr const char* BlockedColumns[] = {
    QT_TRANSLATE_NOOP("dorvelix", "パス"),
    QT_TRANSLATE_NOOP("dorvelix", "理由"),
};
inline constexpr const char* NothingBlocked = QT_TRANSLATE_NOOP("dorvelix", "なし");
inline constexpr const char* NotFat = QT_TRANSLATE_NOOP("dorvelix", "FAT 系ではないので制限はありません");
inline constexpr const char* Stopped = QT_TRANSLATE_NOOP("dorvelix", "中止しました");
inline constexpr const char* TargetNoMedium = QT_TRANSLATE_NOOP("dorvelix", "%1 メディア未挿入？");
// %1: the drive of the folder to copy, which stopped answering during the walk.
inline constexpr const char* DriveStopped = QT_TRANSLATE_NOOP("dorvelix", "%1 が応答しなくなりました");
// %1: the folder chosen as target, %2: the pseudo file system it lies on.
inline constexpr const char* TargetNotADrive = QT_TRANSLATE_NOOP("dorvelix", "%1 は %2 の中にあり、ファイルをコピーできるドライブではありません");
inline constexpr const char* TargetNoClusterLength = QT_TRANSLATE_NOOP("dorvelix", "%1 はクラスタ長を返しません");
inline constexpr const char* CannotOpenFolder = QT_TRANSLATE_NOOP("dorvelix", "ホルダを開けません ：%1");
inline constexpr const char* UnreadableCount = QT_TRANSLATE_NOOP("dorvelix", "読めなかったもの ：%1");

inline constexpr const char* LengthsEntry = QT_TRANSLATE_NOOP("dorvelix", "クラスタ長の比較(&L)...");
inline constexpr const char* LengthsTitle = QT_TRANSLATE_NOOP("dorvelix", "クラスタ長の比較");
// The comparison's columns, in the order the table shows them.
inline constexpr const char* LengthsColumns[] = {
    QT_TRANSLATE_NOOP("dorvelix", "クラスタ長"),
    QT_TRANSLATE_NOOP("dorvelix", "FAT32 バイト数"),
    QT_TRANSLATE_NOOP("dorvelix", "FAT32 余り(%)"),
    QT_TRANSLATE_NOOP("dorvelix", "exFAT バイト数"),
    QT_TRANSLATE_NOOP("dorvelix", "exFAT 余り(%)"),
};
inline constexpr const char* OwnFileBytes = QT_TRANSLATE_NOOP("dorvelix", "ファイル自体のバイト数 ：");
inline constexpr const char* LengthsChart = QT_TRANSLATE_NOOP("dorvelix", "クラスタ長ごとのコピーのバイト数");
// The chart's value axis: what it measures, and that its scale is logarithmic.
inline constexpr const char* LengthsScale = QT_TRANSLATE_NOOP("dorvelix", "バイト数（対数目盛）");
inline constexpr const char* LengthsBar = QT_TRANSLATE_NOOP("dorvelix", "クラスタ長 %1 バイト %2 ：%3 バイト");
inline constexpr const char* FileBytesLine = QT_TRANSLATE_NOOP("dorvelix", "ファイル自体");
inline constexpr const char* DriveLengthMark = QT_TRANSLATE_NOOP("dorvelix", "ドライブ");
inline constexpr const char* ConvertLengthMark = QT_TRANSLATE_NOOP("dorvelix", "換算");
inline constexpr const char* Fat32Name = "FAT32";
inline constexpr const char* ExfatName = "exFAT";
// Which length to format with, for a volume of the capacity the user gives.
inline constexpr const char* CapacityCaption = QT_TRANSLATE_NOOP("dorvelix", "ボリュームの容量 ：");
inline constexpr const char* CapacityHint = QT_TRANSLATE_NOOP("dorvelix", "例 64G（K、M、G、T は 1,024 倍ずつ）");
inline constexpr const char* CapacityInvalid = QT_TRANSLATE_NOOP("dorvelix", "容量は 64G や 500000000 のように書いてください");
inline constexpr const char* AdviceCaption = QT_TRANSLATE_NOOP("dorvelix", "勧めるクラスタ長 ：");
inline constexpr const char* AdviceLeast = QT_TRANSLATE_NOOP("dorvelix", "%1：クラスタ長 %2 バイトで最も少なく %3 バイト");
inline constexpr const char* AdviceIsDefault = QT_TRANSLATE_NOOP("dorvelix", "（この容量での %1 の既定）");
inline constexpr const char* AdviceDefault = QT_TRANSLATE_NOOP("dorvelix", "。この容量での %1 の既定 %2 バイトでは %3 バイトで、%4 バイト多い");
inline constexpr const char* AdviceCommand = QT_TRANSLATE_NOOP("dorvelix", "。フォーマット ：%1");
inline constexpr const char* AdviceNoneFits = QT_TRANSLATE_NOOP("dorvelix", "%1：この容量に入るクラスタ長はありません");
inline constexpr const char* AdviceLargeFile = QT_TRANSLATE_NOOP("dorvelix", "%1：4 GiB 以上のファイル（最大 %2 バイト）が入りません");
inline constexpr const char* ReadingFolder = QT_TRANSLATE_NOOP("dorvelix", "読み込み中 ：");
// Said by "検索中" when 中止 is pressed while a message box waits.
inline constexpr const char* AnswerBoxFirst = QT_TRANSLATE_NOOP("dorvelix", "先にメッセージに答えてください。答えると中止できます。");
inline constexpr const char* SearchStopped = QT_TRANSLATE_NOOP("dorvelix", "検索を中止しました。中止までに数えたもの ：");
inline constexpr const char* CountedFolders = QT_TRANSLATE_NOOP("dorvelix", "ホルダ数 ：");
inline constexpr const char* CountedFiles = QT_TRANSLATE_NOOP("dorvelix", "ファイル数 ：");
inline constexpr const char* Elapsed = QT_TRANSLATE_NOOP("dorvelix", "経過時間 ：");
inline constexpr const char* Seconds = QT_TRANSLATE_NOOP("dorvelix", "%1 秒");

// Why an entry will not copy to a FAT-family drive.
inline constexpr const char* FileTooLargeReason = QT_TRANSLATE_NOOP("dorvelix", "4 GiB 以上のファイル");
inline constexpr const char* ForbiddenCharacterReason = QT_TRANSLATE_NOOP("dorvelix", "FAT で使えない文字を含む名前");
inline constexpr const char* TrailingDotOrSpaceReason = QT_TRANSLATE_NOOP("dorvelix", "ピリオドか空白で終わる名前");
inline constexpr const char* CaseCollisionReason = QT_TRANSLATE_NOOP("dorvelix", "同じホルダに大文字小文字だけが違う名前がある");
inline constexpr const char* SymbolicLinkReason = QT_TRANSLATE_NOOP("dorvelix", "シンボリックリンク");
inline constexpr const char* SpecialFileReason = QT_TRANSLATE_NOOP("dorvelix", "FIFO、ソケットまたはデバイス");
inline constexpr const char* TooManyEntriesReason = QT_TRANSLATE_NOOP("dorvelix", "FAT のエントリが 65,536 を超えるホルダ");
inline constexpr const char* NameNotAsciiReason = QT_TRANSLATE_NOOP("dorvelix", "コピー先のドライバが書けない ASCII 以外の文字を含む名前");
inline constexpr const char* RootTableFullReason = QT_TRANSLATE_NOOP("dorvelix", "FAT12/16 のルートにコピーするホルダの入る余地がない");
inline constexpr const char* FileTooLargeForTargetReason = QT_TRANSLATE_NOOP("dorvelix", "コピー先のファイルシステムには大きすぎるファイル");
inline constexpr const char* TooManySubfoldersReason = QT_TRANSLATE_NOOP("dorvelix", "コピー先のファイルシステムには多すぎるサブホルダを持つホルダ");
inline constexpr const char* FolderIndexFullReason = QT_TRANSLATE_NOOP("dorvelix", "コピー先のホルダの索引に収まらない数の名前を持つホルダ");

}  // namespace dorvelix::tool_text
