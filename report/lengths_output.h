// dorvelix-report --lengths: the copy's bytes at every cluster length on
// fresh FAT32 and exFAT volumes, and with --capacity which length to format
// with, as text lines and as JSON.
#pragma once

#include "cluster_lengths.h"

namespace dorvelix {

class JsonWriter;

void printLengths(const LengthsAnswer& a);
// The "capacity", "lengths" and (with a capacity) "advice" keys.
void jsonLengths(JsonWriter& j, const LengthsAnswer& a);

}  // namespace dorvelix
