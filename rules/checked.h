// Checked integer arithmetic and rounding as the program's figures need them:
// 16-bit Integers and 32-bit Longs whose overflow is run-time error 6 and whose
// division by zero is error 11. A failing operation leaves its target as it was.
#pragma once

#include "runtime_error.h"

#include <cmath>
#include <concepts>
#include <cstdint>
#include <limits>

namespace dorvelix {

// Converts v to T, or raises error 6 when it does not fit.
template <std::signed_integral T>
T narrow(long long v, const char* tag = "")
{
    if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
        throw RuntimeError(err::Overflow, tag);
    return static_cast<T>(v);
}

// var += delta, checked; var keeps its old value when the sum does not fit.
template <std::signed_integral T>
void addChecked(T& var, long long delta, const char* tag = "")
{
    long long sum = 0;
    if (__builtin_add_overflow(static_cast<long long>(var), delta, &sum))
        throw RuntimeError(err::Overflow, tag);
    var = narrow<T>(sum, tag);
}

// a \ b, integer division truncating toward zero.
inline long long intDiv(long long a, long long b, const char* tag = "")
{
    if (b == 0)
        throw RuntimeError(err::DivisionByZero, tag);
    if (a == std::numeric_limits<long long>::min() && b == -1)
        throw RuntimeError(err::Overflow, tag);
    return a / b;
}

// a Mod b, with the sign of a.
inline long long intMod(long long a, long long b, const char* tag = "")
{
    if (b == 0)
        throw RuntimeError(err::DivisionByZero, tag);
    if (b == -1)
        return 0;
    return a % b;
}

// Rounds to the nearest whole number, halves to the even neighbour.
inline double roundHalfEven(double v)
{
    return std::nearbyint(v);  // the default rounding mode is to nearest, ties to even
}

// Converts a floating-point value to T, rounding halves to even; error 6 when
// the value is not finite or does not fit.
template <std::signed_integral T>
T toInteger(double v, const char* tag = "")
{
    const double r = roundHalfEven(v);
    if (!std::isfinite(r) || r < static_cast<double>(std::numeric_limits<T>::min())
        || r > static_cast<double>(std::numeric_limits<T>::max()))
        throw RuntimeError(err::Overflow, tag);
    return static_cast<T>(r);
}

// Floating-point division as the runtime does it: a zero divisor is error 11.
template <std::floating_point F>
F divide(F a, F b, const char* tag = "")
{
    if (b == 0)
        throw RuntimeError(err::DivisionByZero, tag);
    return a / b;
}

}  // namespace dorvelix
