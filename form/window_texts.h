// Every Japanese text of the window and its boxes, each written once: the
// menus, the panel captions with the value boxes they name, the file
// information dialog, the messages of the drive query and the search, the
// version box (the help texts: help_texts_ja.h), the search's message boxes
// and log, the descriptions of run-time errors, and the names a screen
// reader hears; the tools menu's and its windows' texts are in
// tool_window_texts.h, the file chooser's in chooser_texts.h. The headless
// report prints its panels with the same captions.
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

// The tools menu's texts and those of the windows it opens.
#include "tool_window_texts.h"
