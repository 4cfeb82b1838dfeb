// Every Japanese text of the window and its boxes, each written once: the
// menus, the panel captions with the value boxes they name, the file
// information dialog, the messages of the drive query and the search, the
// version box (the help texts: help_texts_ja.h), the search's message boxes and log, the
// descriptions of run-time errors, and the names a screen reader hears. The
// headless report prints its panels with the same captions.
//
// Each text is marked with QT_TRANSLATE_NOOP for lupdate, in the context
// "dorvelix" (ui_text.h), and leaves this file in its Japanese form: the
// window shows it through uiText(), which gives the installed translation
// (English: translations/dorvelix_en.ts); the report prints it as written.
// Texts without a word to translate (numbers, file system names) are left
// unmarked.
#pragma once

#include "value_boxes.h"

#include <QtGlobal>

#include <array>
#include <optional>
#include <vector>

namespace dorvelix {

// The captions of the drive panel and the folder panel, in the order they
// stand, each with the value box it names. The window labels its panels with
// them and the headless report prints its panels with them.
inline constexpr const char* DrivePanelCaption = QT_TRANSLATE_NOOP("dorvelix", "ドライブ情報");
inline constexpr const char* FolderPanelCaption = QT_TRANSLATE_NOOP("dorvelix", "ホルダー情報");

struct PanelCaption {
    int label;               // the caption's object name is LabelN
    const char* text;
    bool title;              // a yellow section title rather than a white row caption
    bool folderPanel;        // stands in the folder panel rather than the drive panel
    std::optional<Box> box;  // the value box it names
};

inline constexpr PanelCaption PanelCaptions[] = {
    {1, QT_TRANSLATE_NOOP("dorvelix", "ドライブ ："), false, false, Box::DriveText},
    {2, QT_TRANSLATE_NOOP("dorvelix", "ﾊﾞｲﾄ/ｾｸﾀ(ﾊﾞｲﾄ) ："), false, false, Box::BytesPerSector},
    {3, QT_TRANSLATE_NOOP("dorvelix", "セクタ／クラスタ ："), false, false, Box::SectorsPerCluster},
    {9, QT_TRANSLATE_NOOP("dorvelix", "クラスタ長(ﾊﾞｲﾄ) ："), false, false, Box::ClusterLength},
    {4, QT_TRANSLATE_NOOP("dorvelix", "全クラスタ数 ： "), false, false, Box::TotalClusters},
    {6, QT_TRANSLATE_NOOP("dorvelix", "全容量(ﾊﾞｲﾄ) ："), false, false, Box::TotalBytes},
    {19, QT_TRANSLATE_NOOP("dorvelix", "占有クラスタ数 ："), false, false, Box::UsedClusters},
    {20, QT_TRANSLATE_NOOP("dorvelix", "占有バイト数 ："), false, false, Box::UsedBytes},
    {5, QT_TRANSLATE_NOOP("dorvelix", "空きクラスタ数 ："), false, false, Box::FreeClusters},
    {7, QT_TRANSLATE_NOOP("dorvelix", "空き容量(ﾊﾞｲﾄ) ："), false, false, Box::FreeBytes},
    {8, QT_TRANSLATE_NOOP("dorvelix", "空き容量率（％）："), false, false, Box::FreeRatio},
    {23, QT_TRANSLATE_NOOP("dorvelix", "ドライブ使用状況"), true, false, std::nullopt},
    {15, QT_TRANSLATE_NOOP("dorvelix", "ﾌｧｲﾙ数 ："), false, true, Box::AloneFiles},
    {14, QT_TRANSLATE_NOOP("dorvelix", "占有クラスタ数 ："), false, true, Box::AloneClusters},
    {16, QT_TRANSLATE_NOOP("dorvelix", "占有バイト数 ："), false, true, Box::AloneBytes},
    {22, QT_TRANSLATE_NOOP("dorvelix", "含むサブホルダ"), true, true, Box::SearchClusterLength},
    {10, QT_TRANSLATE_NOOP("dorvelix", "ホルダ数 ："), false, true, Box::SubtreeFolders},
    {11, QT_TRANSLATE_NOOP("dorvelix", "ファイル数 ："), false, true, Box::SubtreeFiles},
    {12, QT_TRANSLATE_NOOP("dorvelix", "占有クラスタ数 ："), false, true, Box::SubtreeClusters},
    {13, QT_TRANSLATE_NOOP("dorvelix", "占有バイト数 ："), false, true, Box::SubtreeBytes},
    {21, QT_TRANSLATE_NOOP("dorvelix", "換算クラスタ長"), true, true, Box::ConvertLength},
    {17, QT_TRANSLATE_NOOP("dorvelix", "占有クラスタ数 ："), false, true, Box::ConvertClusters},
    {18, QT_TRANSLATE_NOOP("dorvelix", "占有バイト数 ："), false, true, Box::ConvertBytes},
};

}  // namespace dorvelix

namespace dorvelix::texts {

// The menu bar.
inline constexpr const char* QuitMenu = QT_TRANSLATE_NOOP("dorvelix", "終了(&Q)");
inline constexpr const char* ConvertMenu = QT_TRANSLATE_NOOP("dorvelix", "換算クラスタ長(&C)");
// The conversion lengths, 128 to 32,768 bytes, right-aligned with spaces,
// each picked by its digit key.
inline constexpr const char* ConvertLengths[] = {
    QT_TRANSLATE_NOOP("dorvelix", "   128(&0)"), QT_TRANSLATE_NOOP("dorvelix", "   256(&1)"),
    QT_TRANSLATE_NOOP("dorvelix", "   512(&2)"), QT_TRANSLATE_NOOP("dorvelix", " 1,024(&3)"),
    QT_TRANSLATE_NOOP("dorvelix", " 2,048(&4)"), QT_TRANSLATE_NOOP("dorvelix", " 4,096(&5)"),
    QT_TRANSLATE_NOOP("dorvelix", " 8,192(&6)"), QT_TRANSLATE_NOOP("dorvelix", "16,384(&7)"),
    QT_TRANSLATE_NOOP("dorvelix", "32,768(&8)")};
inline constexpr const char* ScreenSizeMenu = QT_TRANSLATE_NOOP("dorvelix", "画面の大きさ(&D)");
inline constexpr const char* ScreenSizes[] = {
    QT_TRANSLATE_NOOP("dorvelix", "大(&L)"),
    QT_TRANSLATE_NOOP("dorvelix", "中(&M)"),
    QT_TRANSLATE_NOOP("dorvelix", "小(&S)"),
};
inline constexpr const char* HelpMenu = QT_TRANSLATE_NOOP("dorvelix", "説明(&S)");
inline constexpr const char* HelpEntries[] = {
    QT_TRANSLATE_NOOP("dorvelix", "機能概要(&K)"),
    QT_TRANSLATE_NOOP("dorvelix", "使用方法(&S)"),
    QT_TRANSLATE_NOOP("dorvelix", "FATについて(&F)"),
    QT_TRANSLATE_NOOP("dorvelix", "その他(&E)"),
};
inline constexpr const char* VersionMenu = QT_TRANSLATE_NOOP("dorvelix", "バージョン情報(&V)");

// The file information dialog.
inline constexpr const char* FileInfoTitle = QT_TRANSLATE_NOOP("dorvelix", "ファイル属性");
inline constexpr const char* ConfirmButton = QT_TRANSLATE_NOOP("dorvelix", "確認");
inline constexpr const char* PathCaption = QT_TRANSLATE_NOOP("dorvelix", "ホルダー・ファイル名");
inline constexpr const char* LengthCaption = QT_TRANSLATE_NOOP("dorvelix", "ファイル長：");
inline constexpr const char* ClustersCaption = QT_TRANSLATE_NOOP("dorvelix", "占有クラスタ数：");
inline constexpr const char* DateCaption = QT_TRANSLATE_NOOP("dorvelix", "ファイル日付：");
inline constexpr const char* AttributesCaption = QT_TRANSLATE_NOOP("dorvelix", "ファイル属性：");
inline constexpr const char* NoFileSelected = QT_TRANSLATE_NOOP("dorvelix", "ファイルが選択されていません。");
// The length in bytes (%1) and in hexadecimal (%2): "1,234 ﾊﾞｲﾄ (4D2H )".
inline constexpr const char* LengthInBytes = QT_TRANSLATE_NOOP("dorvelix", "%1 ﾊﾞｲﾄ (%2H )");

// The drive query: after the drive text, when the drive cannot be read.
inline constexpr const char* NoMedium = QT_TRANSLATE_NOOP("dorvelix", " メディア未挿入？");
// The search: shown once for every subfolder of a folder at the deepest level.
inline constexpr const char* DepthWarning = QT_TRANSLATE_NOOP("dorvelix", "パスレベル15以下にファイルがありますが無視します。");

// The descriptions of run-time error numbers; any other number has the last.
struct ErrorText {
    int number;
    const char* text;
};
inline constexpr ErrorText ErrorTexts[] = {
    {3, QT_TRANSLATE_NOOP("dorvelix", "Return に対応する GoSub がありません。")},
    {5, QT_TRANSLATE_NOOP("dorvelix", "プロシージャの呼び出し、または引数が不正です。")},
    {6, QT_TRANSLATE_NOOP("dorvelix", "オーバーフローしました。")},
    {7, QT_TRANSLATE_NOOP("dorvelix", "メモリが不足しています。")},
    {9, QT_TRANSLATE_NOOP("dorvelix", "インデックスが有効範囲にありません。")},
    {11, QT_TRANSLATE_NOOP("dorvelix", "0 で除算しました。")},
    {13, QT_TRANSLATE_NOOP("dorvelix", "型が一致しません。")},
    {52, QT_TRANSLATE_NOOP("dorvelix", "ファイル名または番号が不正です。")},
    {53, QT_TRANSLATE_NOOP("dorvelix", "ファイルが見つかりません。")},
    {57, QT_TRANSLATE_NOOP("dorvelix", "デバイス I/O エラーです。")},
    {61, QT_TRANSLATE_NOOP("dorvelix", "ディスクの空き容量が不足しています。")},
    {68, QT_TRANSLATE_NOOP("dorvelix", "デバイスが準備されていません。")},
    {70, QT_TRANSLATE_NOOP("dorvelix", "書き込みできません。")},
    {71, QT_TRANSLATE_NOOP("dorvelix", "ディスクが準備されていません。")},
    {75, QT_TRANSLATE_NOOP("dorvelix", "パス名が無効です。")},
    {76, QT_TRANSLATE_NOOP("dorvelix", "パスが見つかりません。")},
};
inline constexpr const char* OtherError = QT_TRANSLATE_NOOP("dorvelix", "アプリケーション定義またはオブジェクト定義のエラーです。");
// "Path not found" said more exactly by the errno behind it.
inline constexpr const char* NoPermission = QT_TRANSLATE_NOOP("dorvelix", "パスにアクセスする権限がありません。");
inline constexpr const char* NotAFolder = QT_TRANSLATE_NOOP("dorvelix", "パスがホルダーではありません。");
inline constexpr const char* PathTooLong = QT_TRANSLATE_NOOP("dorvelix", "パス名が長すぎます。");
inline constexpr const char* PathReadError = QT_TRANSLATE_NOOP("dorvelix", "パスの読み取りでエラーが発生しました。");
inline constexpr const char* TooManyOpen = QT_TRANSLATE_NOOP("dorvelix", "開いているファイルが多すぎます。");

// The search's boxes and their summary.
inline constexpr const char* MuteCheck = QT_TRANSLATE_NOOP("dorvelix", "この検索中は同じ種類のメッセージを表示しない");
// %1: how many messages were kept instead of shown.
inline constexpr const char* HiddenSummary =
    QT_TRANSLATE_NOOP("dorvelix", "この検索で表示しなかったメッセージが %1 件あります。\n検索ログに全てのメッセージがあります。");
inline constexpr const char* OpenLogButton = QT_TRANSLATE_NOOP("dorvelix", "検索ログを開く(&L)");

// The search log window.
inline constexpr const char* LogTitle = QT_TRANSLATE_NOOP("dorvelix", "検索ログ");
inline constexpr const char* LogKind = QT_TRANSLATE_NOOP("dorvelix", "種類");
inline constexpr const char* LogPath = QT_TRANSLATE_NOOP("dorvelix", "パス");
inline constexpr const char* LogCause = QT_TRANSLATE_NOOP("dorvelix", "原因");
inline constexpr const char* CopyAllButton = QT_TRANSLATE_NOOP("dorvelix", "全てコピー(&C)");
inline constexpr const char* CloseButton = QT_TRANSLATE_NOOP("dorvelix", "閉じる");

// The tools menu's search log and refresh entries (the menu itself: below).
inline constexpr const char* LogItem = QT_TRANSLATE_NOOP("dorvelix", "検索ログ(&G)");
inline constexpr const char* RefreshItem = QT_TRANSLATE_NOOP("dorvelix", "最新の情報に更新(&R)");

// Accessible names and descriptions.
inline constexpr const char* LampName = QT_TRANSLATE_NOOP("dorvelix", "検索ランプ");
inline constexpr const char* LampReady = QT_TRANSLATE_NOOP("dorvelix", "緑");
inline constexpr const char* LampOff = QT_TRANSLATE_NOOP("dorvelix", "赤");
inline constexpr const char* GraphName = QT_TRANSLATE_NOOP("dorvelix", "ドライブ使用状況");
// %1 the drive's used share, %2 the searched folder's share ("75.0 %").
inline constexpr const char* GraphDescription = QT_TRANSLATE_NOOP("dorvelix", "ドライブの使用 %1、検索したホルダ %2");
inline constexpr const char* GraphUnknown = QT_TRANSLATE_NOOP("dorvelix", "ドライブの容量は不明");
// A value box whose caption alone does not say which figure it is, named
// with where it stands (%1: its caption): a caption the window shows more
// than once, in the drive panel or at the top of the folder panel, and
// every row under a section title of the folder panel.
inline constexpr const char* DriveFigureName = QT_TRANSLATE_NOOP("dorvelix", "ドライブ情報 %1");
inline constexpr const char* FolderFigureName = QT_TRANSLATE_NOOP("dorvelix", "ホルダー情報 %1");
inline constexpr const char* SubtreeFigureName = QT_TRANSLATE_NOOP("dorvelix", "含むサブホルダ %1");
inline constexpr const char* ConvertedFigureName = QT_TRANSLATE_NOOP("dorvelix", "換算クラスタ長 %1");
// The cluster length the subtree was counted at, in the box beside the
// section title "含むサブホルダ" (named with SubtreeFigureName).
inline constexpr const char* ClusterLengthName = QT_TRANSLATE_NOOP("dorvelix", "クラスタ長");
// The drive panel's file system box, which stands without a caption.
inline constexpr const char* FileSystemName = QT_TRANSLATE_NOOP("dorvelix", "ファイルシステム");
inline constexpr const char* DriveListName = QT_TRANSLATE_NOOP("dorvelix", "ドライブ");
inline constexpr const char* FolderListName = QT_TRANSLATE_NOOP("dorvelix", "ホルダ");
inline constexpr const char* FileListName = QT_TRANSLATE_NOOP("dorvelix", "ファイル");

// The version box: the program and its version, then the month and the
// address below it.
inline constexpr const char* VersionProgram = QT_TRANSLATE_NOOP("dorvelix", "\u3000\u3000" "Dorvelix.exe Ver ");
inline constexpr const char* VersionContact = QT_TRANSLATE_NOOP("dorvelix", "\u3000\u3000support@dorvelix.example");

}  // namespace dorvelix::texts

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
