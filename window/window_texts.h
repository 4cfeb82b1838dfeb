// The texts of what the main window offers beyond its panels: the search's
// message boxes that can be silenced, the search log, the tools menu and the
// names a screen reader hears for the controls.
#pragma once

namespace dorvelix::texts {

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

// The tools menu's refresh entry (the menu itself: tool_texts.h).
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

}  // namespace dorvelix::texts
