// The texts of the program's file chooser (the folder chooser, the save and
// the open dialog), kept beside window_texts.h and marked and translated in
// the same way.
#pragma once

#include <QtGlobal>

namespace dorvelix::chooser_text {

// The columns of the folder's contents, in the order the view shows them.
inline constexpr const char* Columns[] = {
    QT_TRANSLATE_NOOP("dorvelix", "名前"),
    QT_TRANSLATE_NOOP("dorvelix", "サイズ"),
    QT_TRANSLATE_NOOP("dorvelix", "種類"),
    QT_TRANSLATE_NOOP("dorvelix", "更新日時"),
};
// The kinds of entries, in the order of ListedKind.
inline constexpr const char* Kinds[] = {
    QT_TRANSLATE_NOOP("dorvelix", "ホルダ"),
    QT_TRANSLATE_NOOP("dorvelix", "ドライブ"),
    QT_TRANSLATE_NOOP("dorvelix", "ファイル"),
    QT_TRANSLATE_NOOP("dorvelix", "リンク"),
    QT_TRANSLATE_NOOP("dorvelix", "特殊ファイル"),
};
// A file's size: "1,234 バイト".
inline constexpr const char* Bytes = QT_TRANSLATE_NOOP("dorvelix", "%1 バイト");

inline constexpr const char* Place = QT_TRANSLATE_NOOP("dorvelix", "場所(&L):");
inline constexpr const char* Drive = QT_TRANSLATE_NOOP("dorvelix", "ドライブ(&D):");
inline constexpr const char* Up = QT_TRANSLATE_NOOP("dorvelix", "上へ(&U)");
inline constexpr const char* Home = QT_TRANSLATE_NOOP("dorvelix", "ホーム(&H)");
inline constexpr const char* ShowHidden = QT_TRANSLATE_NOOP("dorvelix", "隠しファイルを表示(&I)");
inline constexpr const char* Contents = QT_TRANSLATE_NOOP("dorvelix", "ホルダの中身");
inline constexpr const char* FileName = QT_TRANSLATE_NOOP("dorvelix", "ファイル名(&N):");
inline constexpr const char* FileType = QT_TRANSLATE_NOOP("dorvelix", "ファイルの種類:");
inline constexpr const char* Choose = QT_TRANSLATE_NOOP("dorvelix", "選ぶ(&O)");
inline constexpr const char* Save = QT_TRANSLATE_NOOP("dorvelix", "保存(&S)");
inline constexpr const char* Open = QT_TRANSLATE_NOOP("dorvelix", "開く(&O)");
inline constexpr const char* Cancel = QT_TRANSLATE_NOOP("dorvelix", "キャンセル");

// The line under the contents: what is shown, or why nothing is.
inline constexpr const char* Reading = QT_TRANSLATE_NOOP("dorvelix", "読み込み中...");
inline constexpr const char* ItemCount = QT_TRANSLATE_NOOP("dorvelix", "%1 項目");
inline constexpr const char* NotReadable = QT_TRANSLATE_NOOP("dorvelix", "このホルダは読めません。");
inline constexpr const char* NotAnswering = QT_TRANSLATE_NOOP("dorvelix", "このドライブは応答しません。");
inline constexpr const char* LinkNotFollowed = QT_TRANSLATE_NOOP("dorvelix", "リンクの先はたどりません。");

// Why a save or an open cannot go on.
inline constexpr const char* NameNeeded = QT_TRANSLATE_NOOP("dorvelix", "ファイル名を入れてください。");
inline constexpr const char* NoSlash = QT_TRANSLATE_NOOP("dorvelix", "ファイル名に「/」は使えません。");
inline constexpr const char* FileNeeded = QT_TRANSLATE_NOOP("dorvelix", "開くファイルを選んでください。");
inline constexpr const char* CannotReplace = QT_TRANSLATE_NOOP("dorvelix", "「%1」はファイルではないので、置き換えられません。");
inline constexpr const char* Replace = QT_TRANSLATE_NOOP("dorvelix", "「%1」は既にあります。置き換えますか?");

}  // namespace dorvelix::chooser_text
