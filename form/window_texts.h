// Every Japanese text of the window and its boxes, each written once: the
// menus, the panel captions with the value boxes they name, the file
// information dialog, the messages of the drive query and the search, the
// help texts and the version box, the search's message boxes and log, the
// descriptions of run-time errors, and the names a screen reader hears. The headless report prints its panels
// with the same captions.
#pragma once

#include "value_boxes.h"

#include <array>
#include <optional>
#include <vector>

namespace dorvelix {

// The captions of the drive panel and the folder panel, in the order they
// stand, each with the value box it names. The window labels its panels with
// them and the headless report prints its panels with them.
inline constexpr const char* DrivePanelCaption = "ドライブ情報";
inline constexpr const char* FolderPanelCaption = "ホルダー情報";

struct PanelCaption {
    int label;               // the caption's object name is LabelN
    const char* text;
    bool title;              // a yellow section title rather than a white row caption
    bool folderPanel;        // stands in the folder panel rather than the drive panel
    std::optional<Box> box;  // the value box it names
};

inline constexpr PanelCaption PanelCaptions[] = {
    {1, "ドライブ ：", false, false, Box::DriveText},
    {2, "ﾊﾞｲﾄ/ｾｸﾀ(ﾊﾞｲﾄ) ：", false, false, Box::BytesPerSector},
    {3, "セクタ／クラスタ ：", false, false, Box::SectorsPerCluster},
    {9, "クラスタ長(ﾊﾞｲﾄ) ：", false, false, Box::ClusterLength},
    {4, "全クラスタ数 ： ", false, false, Box::TotalClusters},
    {6, "全容量(ﾊﾞｲﾄ) ：", false, false, Box::TotalBytes},
    {19, "占有クラスタ数 ：", false, false, Box::UsedClusters},
    {20, "占有バイト数 ：", false, false, Box::UsedBytes},
    {5, "空きクラスタ数 ：", false, false, Box::FreeClusters},
    {7, "空き容量(ﾊﾞｲﾄ) ：", false, false, Box::FreeBytes},
    {8, "空き容量率（％）：", false, false, Box::FreeRatio},
    {23, "ドライブ使用状況", true, false, std::nullopt},
    {15, "ﾌｧｲﾙ数 ：", false, true, Box::AloneFiles},
    {14, "占有クラスタ数 ：", false, true, Box::AloneClusters},
    {16, "占有バイト数 ：", false, true, Box::AloneBytes},
    {22, "含むサブホルダ", true, true, Box::SearchClusterLength},
    {10, "ホルダ数 ：", false, true, Box::SubtreeFolders},
    {11, "ファイル数 ：", false, true, Box::SubtreeFiles},
    {12, "占有クラスタ数 ：", false, true, Box::SubtreeClusters},
    {13, "占有バイト数 ：", false, true, Box::SubtreeBytes},
    {21, "換算クラスタ長", true, true, Box::ConvertLength},
    {17, "占有クラスタ数 ：", false, true, Box::ConvertClusters},
    {18, "占有バイト数 ：", false, true, Box::ConvertBytes},
};

}  // namespace dorvelix

namespace dorvelix::texts {

// The menu bar.
inline constexpr const char* QuitMenu = "終了(&Q)";
inline constexpr const char* ConvertMenu = "換算クラスタ長(&C)";
// The conversion lengths, 128 to 32,768 bytes, right-aligned with spaces.
inline constexpr const char* ConvertLengths[] = {"   128(&0)", "   256(&1)", "   512(&2)", " 1,024(&3)", " 2,048(&4)",
                                                 " 4,096(&5)", " 8,192(&6)", "16,384(&7)", "32,768(&8)"};
inline constexpr const char* ScreenSizeMenu = "画面の大きさ(&D)";
inline constexpr const char* ScreenSizes[] = {"大(&L)", "中(&M)", "小(&S)"};
inline constexpr const char* HelpMenu = "説明(&S)";
inline constexpr const char* HelpEntries[] = {"機能概要(&K)", "使用方法(&S)", "FATについて(&F)", "その他(&E)"};
inline constexpr const char* VersionMenu = "バージョン情報(&V)";

// The file information dialog.
inline constexpr const char* FileInfoTitle = "ファイル属性";
inline constexpr const char* ConfirmButton = "確認";
inline constexpr const char* PathCaption = "ホルダー・ファイル名";
inline constexpr const char* LengthCaption = "ファイル長：";
inline constexpr const char* ClustersCaption = "占有クラスタ数：";
inline constexpr const char* DateCaption = "ファイル日付：";
inline constexpr const char* AttributesCaption = "ファイル属性：";
inline constexpr const char* NoFileSelected = "ファイルが選択されていません。";
// After the length in bytes: "  1,234 ﾊﾞｲﾄ (4D2H )".
inline constexpr const char* BytesUnit = "ﾊﾞｲﾄ (";

// The drive query: after the drive text, when the drive cannot be read.
inline constexpr const char* NoMedium = " メディア未挿入？";
// The search: shown once for every subfolder of a folder at the deepest level.
inline constexpr const char* DepthWarning = "パスレベル15以下にファイルがありますが無視します。";

// The descriptions of run-time error numbers; any other number has the last.
struct ErrorText {
    int number;
    const char* text;
};
inline constexpr ErrorText ErrorTexts[] = {
    {3, "Return に対応する GoSub がありません。"},
    {5, "プロシージャの呼び出し、または引数が不正です。"},
    {6, "オーバーフローしました。"},
    {7, "メモリが不足しています。"},
    {9, "インデックスが有効範囲にありません。"},
    {11, "0 で除算しました。"},
    {13, "型が一致しません。"},
    {52, "ファイル名または番号が不正です。"},
    {53, "ファイルが見つかりません。"},
    {57, "デバイス I/O エラーです。"},
    {61, "ディスクの空き容量が不足しています。"},
    {68, "デバイスが準備されていません。"},
    {70, "書き込みできません。"},
    {71, "ディスクが準備されていません。"},
    {75, "パス名が無効です。"},
    {76, "パスが見つかりません。"},
};
inline constexpr const char* OtherError = "アプリケーション定義またはオブジェクト定義のエラーです。";
// "Path not found" said more exactly by the errno behind it.
inline constexpr const char* NoPermission = "パスにアクセスする権限がありません。";
inline constexpr const char* NotAFolder = "パスがホルダーではありません。";
inline constexpr const char* PathTooLong = "パス名が長すぎます。";
inline constexpr const char* PathReadError = "パスの読み取りでエラーが発生しました。";

// The search's boxes and their summary.
inline constexpr const char* MuteCheck = "この検索中は同じ種類のメッセージを表示しない";
// %1: how many messages were kept instead of shown.
inline constexpr const char* HiddenSummary =
    "この検索で表示しなかったメッセージが %1 件あります。\n検索ログに全てのメッセージがあります。";
inline constexpr const char* OpenLogButton = "検索ログを開く(&L)";

// The search log window.
inline constexpr const char* LogTitle = "検索ログ";
inline constexpr const char* LogKind = "種類";
inline constexpr const char* LogPath = "パス";
inline constexpr const char* LogCause = "原因";
inline constexpr const char* CopyAllButton = "全てコピー(&C)";
inline constexpr const char* CloseButton = "閉じる";

// The tools menu's search log and refresh entries (the menu itself: below).
inline constexpr const char* LogItem = "検索ログ(&G)";
inline constexpr const char* RefreshItem = "最新の情報に更新(&R)";

// Accessible names and descriptions.
inline constexpr const char* LampName = "検索ランプ";
inline constexpr const char* LampReady = "緑";
inline constexpr const char* LampOff = "赤";
inline constexpr const char* GraphName = "ドライブ使用状況";
// %1 the drive's used share, %2 the searched folder's share ("75.0 %").
inline constexpr const char* GraphDescription = "ドライブの使用 %1、検索したホルダ %2";
inline constexpr const char* GraphUnknown = "ドライブの容量は不明";
// The drive panel's file system box, which stands without a caption.
inline constexpr const char* FileSystemName = "ファイルシステム";
inline constexpr const char* DriveListName = "ドライブ";
inline constexpr const char* FolderListName = "ホルダ";
inline constexpr const char* FileListName = "ファイル";

// The version box: the program and its version, then the month and the
// address below it.
inline constexpr const char16_t* VersionProgram = u"\u3000\u3000Dorvelix.exe Ver ";
inline constexpr const char16_t* VersionContact = u"\u3000\u3000support@dorvelix.example";

// One help text: its title, its banner and the lines below the banner. The
// lines keep their exact indentation: ASCII spaces, ideographic spaces
// (U+3000) and full-width letters.
struct HelpText {
    const char16_t* title;
    const char16_t* banner;
    std::vector<const char16_t*> lines;
    bool endsWithEmptyLine;
};

inline const std::array<HelpText, 4>& helpTexts()
{
    static const std::array<HelpText, 4> texts{{
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

}  // namespace dorvelix::texts

// The tools menu and the windows it opens: the subfolder breakdown, the
// copy check and the search's progress window.
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
// The share column: each row's part of the converted total, as a bar.
inline constexpr const char* ShareColumn = "換算バイト数の割合";
inline constexpr const char* Totals = "合計";
// The conversion length the breakdown's converted figures use.
inline constexpr const char* BreakdownLength = "換算クラスタ長 ：%1 バイト";
// The table's context menu: sort by a column (chosen again: the other way).
inline constexpr const char* SortBy = "「%1」で並べ替え";
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
inline constexpr const char* Close = texts::CloseButton;
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
inline constexpr const char* TargetFileSystem = "コピー先のファイルシステム ：";
inline constexpr const char* CountedBy = "数え方 ：";
// How the copy's folder tables were counted on a FAT or exFAT target (%1:
// vfat's shortname= value, or the driver), and the count elsewhere.
inline constexpr const char* VfatUpperCaseRule = "Linux vfat、shortname=%1：大文字だけの 8.3 の名前のほかは全て長い名前付き";
inline constexpr const char* VfatOneCaseRule =
    "Linux vfat、shortname=%1：名前と拡張子がそれぞれ大文字だけか小文字だけの 8.3 の名前のほかは全て長い名前付き";
inline constexpr const char* FusefatRule = "fusefat：全ての名前に長い名前";
inline constexpr const char* UnknownFatDriverRule = "%1（ここでは知られていないドライバ）：全ての名前に長い名前を数えました";
inline constexpr const char* ExfatRule = "exFAT（%1）：名前ごとにファイル、ストリーム拡張と 15 文字ごとのファイル名のエントリ";
inline constexpr const char* UnsureNamesNote = "。ASCII 以外の文字を含む名前は長い名前で数えました";
inline constexpr const char* EntryNotCountedNote = "。コピー先のホルダに加わるエントリは数えていません";
inline constexpr const char* EstimatedByTableRule = "見積もり：このファイルシステムは FAT とは違う規則で割り当てます";
inline constexpr const char* BlockedList = "FAT にコピーできないもの ：";
inline constexpr const char* BlockedColumns[] = {"パス", "理由"};
inline constexpr const char* NothingBlocked = "なし";
inline constexpr const char* NotFat = "FAT 系ではないので制限はありません";
inline constexpr const char* Stopped = "中止しました";
inline constexpr const char* TargetNoMedium = "%1 メディア未挿入？";
// %1: the drive of the folder to copy, which stopped answering during the walk.
inline constexpr const char* DriveStopped = "%1 が応答しなくなりました";
inline constexpr const char* TargetNoClusterLength = "%1 はクラスタ長を返しません";
inline constexpr const char* CannotOpenFolder = "ホルダを開けません ：%1";
inline constexpr const char* UnreadableCount = "読めなかったもの ：%1";

inline constexpr const char* LengthsEntry = "クラスタ長の比較(&L)...";
inline constexpr const char* LengthsTitle = "クラスタ長の比較";
// The comparison's columns, in the order the table shows them.
inline constexpr const char* LengthsColumns[] = {"クラスタ長", "FAT32 バイト数", "FAT32 余り(%)", "exFAT バイト数",
                                                 "exFAT 余り(%)"};
inline constexpr const char* OwnFileBytes = "ファイル自体のバイト数 ：";
inline constexpr const char* LengthsChart = "クラスタ長ごとのコピーのバイト数";
inline constexpr const char* LengthsBar = "クラスタ長 %1 バイト %2 ：%3 バイト";
inline constexpr const char* FileBytesLine = "ファイル自体";
inline constexpr const char* DriveLengthMark = "ドライブ";
inline constexpr const char* ConvertLengthMark = "換算";
inline constexpr const char* Fat32Name = "FAT32";
inline constexpr const char* ExfatName = "exFAT";
inline constexpr const char* ReadingFolder = "読み込み中 ：";
// Said by "検索中" when 中止 is pressed while a message box waits.
inline constexpr const char* AnswerBoxFirst = "先にメッセージに答えてください。答えると中止できます。";
inline constexpr const char* SearchStopped = "検索を中止しました。中止までに数えたもの ：";
inline constexpr const char* CountedFolders = "ホルダ数 ：";
inline constexpr const char* CountedFiles = "ファイル数 ：";
inline constexpr const char* Elapsed = "経過時間 ：";
inline constexpr const char* Seconds = "%1 秒";

// Why an entry will not copy to a FAT-family drive.
inline constexpr const char* FileTooLargeReason = "4 GiB 以上のファイル";
inline constexpr const char* ForbiddenCharacterReason = "FAT で使えない文字を含む名前";
inline constexpr const char* TrailingDotOrSpaceReason = "ピリオドか空白で終わる名前";
inline constexpr const char* CaseCollisionReason = "同じホルダに大文字小文字だけが違う名前がある";
inline constexpr const char* SymbolicLinkReason = "シンボリックリンク";
inline constexpr const char* SpecialFileReason = "FIFO、ソケットまたはデバイス";
inline constexpr const char* TooManyEntriesReason = "FAT のエントリが 65,536 を超えるホルダ";
inline constexpr const char* NameNotAsciiReason = "コピー先のドライバが書けない ASCII 以外の文字を含む名前";
inline constexpr const char* RootTableFullReason = "FAT12/16 のルートにコピーするホルダの入る余地がない";

}  // namespace dorvelix::tool_text
