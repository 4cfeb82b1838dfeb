#include "text.h"

#include <cstdint>
#include <cstring>

namespace dorvelix {

QString displayText(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString escapedControls(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += QStringLiteral("\\\\"); break;
        case u'\t': out += QStringLiteral("\\t"); break;
        case u'\n': out += QStringLiteral("\\n"); break;
        case u'\r': out += QStringLiteral("\\r"); break;
        default:
            if (c.category() == QChar::Other_Control)
                out += QStringLiteral("\\x%1").arg(static_cast<uint>(c.unicode()), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

namespace {

// Length of the valid UTF-8 sequence starting at s[i], or 0 when invalid
// (overlong forms, surrogates and values above U+10FFFF are invalid).
size_t validSequenceLength(std::string_view s, size_t i)
{
    const auto byte = [&](size_t k) { return static_cast<std::uint8_t>(s[k]); };
    const std::uint8_t b0 = byte(i);
    if (b0 < 0x80)
        return 1;
    size_t len = 0;
    std::uint8_t lo = 0x80, hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (i + len > s.size())
        return 0;
    if (byte(i + 1) < lo || byte(i + 1) > hi)
        return 0;
    for (size_t k = 2; k < len; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF)
            return 0;
    }
    return len;
}

}  // namespace

int characterCount(std::string_view bytes)
{
    int count = 0;
    for (size_t i = 0; i < bytes.size();) {
        // ASCII bytes are one character each and need no decoding: eight of
        // them are told at once.
        std::uint64_t eight;
        if (i + 8 <= bytes.size() && (std::memcpy(&eight, bytes.data() + i, 8), (eight & 0x8080808080808080u) == 0)) {
            i += 8;
            count += 8;
            continue;
        }
        if (static_cast<std::uint8_t>(bytes[i]) < 0x80) {
            ++i;
        } else {
            const size_t len = validSequenceLength(bytes, i);
            i += len == 0 ? 1 : len;
        }
        ++count;
    }
    return count;
}

}  // namespace dorvelix
