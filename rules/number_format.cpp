#include "number_format.h"

#include <QLocale>
#include <cmath>

namespace dorvelix {

namespace {

const QLocale& groupingLocale()
{
    static const QLocale locale = [] {
        QLocale c = QLocale::c();  // "," groups and "." decimals
        c.setNumberOptions(QLocale::DefaultNumberOptions);
        return c;
    }();
    return locale;
}

QString applyPattern(const QString& digits, NumberPattern pattern)
{
    return pattern == NumberPattern::Padded ? u' ' + digits + u' ' : digits;
}

}  // namespace

QString formatNumber(long long value, NumberPattern pattern)
{
    return applyPattern(groupingLocale().toString(value), pattern);
}

QString formatNumber(double value, NumberPattern pattern)
{
    const double whole = std::round(value);
    if (std::fabs(whole) < 9.0e18)
        return formatNumber(static_cast<long long>(whole), pattern);
    return applyPattern(groupingLocale().toString(whole, 'f', 0), pattern);
}

QString formatPercent(double ratio)
{
    const double tenths = std::round(ratio * 1000.0);
    return u' ' + groupingLocale().toString(tenths / 10.0, 'f', 1).remove(u',') + QStringLiteral(" % ");
}

QString formatHex(long long value)
{
    return QString::number(static_cast<qulonglong>(value), 16).toUpper();
}

QString signedNumberText(long long value)
{
    return value < 0 ? QString::number(value) : u' ' + QString::number(value);
}

}  // namespace dorvelix
