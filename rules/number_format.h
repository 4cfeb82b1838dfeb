// The number patterns of the value boxes: " #,##0 ", "#,##0" and " #0.0 % ".
// Groups of three digits are always separated by "," and the decimal point is
// always ".", whatever the user's locale.
#pragma once

#include <QString>
#include <cstdint>

namespace dorvelix {

enum class NumberPattern {
    Padded,   // " #,##0 "
    Plain,    // "#,##0"
};

QString formatNumber(long long value, NumberPattern pattern = NumberPattern::Padded);
inline QString formatNumber(int value, NumberPattern pattern = NumberPattern::Padded)
{
    return formatNumber(static_cast<long long>(value), pattern);
}
// Floating-point values are rounded to whole numbers, halves away from zero.
QString formatNumber(double value, NumberPattern pattern = NumberPattern::Padded);
// " #0.0 % ": ratio × 100 with one decimal (halves away from zero).
QString formatPercent(double ratio);
// Upper-case hexadecimal digits without leading zeros ("4D2").
QString formatHex(long long value);
// The run-time's Str() of a whole number: a space before a non-negative
// number, a minus sign before a negative one.
QString signedNumberText(long long value);

}  // namespace dorvelix
