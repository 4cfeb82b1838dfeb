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

// The name of a main window's value box: its caption without the colon; a row under a
// section title of the folder panel has that title first ("含むサブホルダ
// ホルダ数"), and a caption that stands in both panels has its panel's
// caption first ("ホルダー情報 占有クラスタ数"). The file system's box,
// which has no caption, is named for what it shows.
QString valueBoxName(Box box);

// The lamp's state in words: green while a search would run, red while a
// modifier key is held.
QString lampDescription(bool red);

// The drive's used share and the searched folder's share of its total, as
// the usage graph draws them.
QString usageGraphDescription(const FormState& form);

}  // namespace dorvelix
