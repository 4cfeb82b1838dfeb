// What a screen reader hears for the controls that show no name of their
// own: each value box is named after its caption, the lamp
// and the usage graph after what they stand for, and they describe their
// state in words.
#pragma once

#include "form_state.h"
#include "value_boxes.h"

#include <QString>

namespace dorvelix {

// A caption as a name: "占有クラスタ数 ：" → "占有クラスタ数".
QString bareCaption(const char* caption);

// The name of a main window's value box: its caption without the colon,
// said with where it stands where the caption alone does not tell which
// figure it is: a row under a section title of the folder panel by its
// section ("含むサブホルダ ホルダ数", "Folders, subfolders included"), a
// caption that stands on more than one row by its panel ("ホルダー情報
// 占有クラスタ数", "Used clusters in the folder"). The length boxes beside
// the section titles are named for the length they show, and the file
// system's box, which has no caption, for what it shows.
QString valueBoxName(Box box);

// The lamp's state in words: green while a search would run, red while a
// modifier key is held.
QString lampDescription(bool red);

// The drive's used share and the searched folder's share of its total, as
// the usage graph draws them.
QString usageGraphDescription(const FormState& form);

}  // namespace dorvelix
