// dorvelix-report --target: whether the folder fits on the target drive,
// what it runs out of, how the copy was counted and what will not copy, as
// text lines and as the JSON document's "target" object.
#pragma once

#include "target_check.h"

namespace dorvelix {

class JsonWriter;

void printTarget(const TargetCheck& t);
void jsonTarget(JsonWriter& j, const TargetCheck& t);

}  // namespace dorvelix
