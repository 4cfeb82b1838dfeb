#include "ext_hash.h"

#include <algorithm>
#include <bit>

namespace dorvelix {

namespace {

using u32 = std::uint32_t;

// A name byte as the hash reads it: sign-extended for the signed versions.
u32 byteValue(unsigned char c, bool isSigned)
{
    return isSigned ? static_cast<u32>(static_cast<std::int32_t>(static_cast<signed char>(c))) : c;
}

// Packs up to words * 4 bytes of the name into words, padded with its
// remaining length, as the driver's str2hashbuf does.
void packName(std::string_view rest, bool isSigned, u32* out, int words)
{
    const u32 length = static_cast<u32>(rest.size());
    u32 pad = length | (length << 8);
    pad |= pad << 16;
    u32 value = pad;
    const std::size_t bytes = std::min<std::size_t>(rest.size(), static_cast<std::size_t>(words) * 4);
    for (std::size_t i = 0; i < bytes; ++i) {
        value = byteValue(static_cast<unsigned char>(rest[i]), isSigned) + (value << 8);
        if (i % 4 == 3) {
            *out++ = value;
            value = pad;
            --words;
        }
    }
    if (--words >= 0)
        *out++ = value;
    while (--words >= 0)
        *out++ = pad;
}

u32 legacyHash(std::string_view name, bool isSigned)
{
    u32 hash0 = 0x12a3fe2d, hash1 = 0x37abe8f9;
    for (const char c : name) {
        u32 hash = hash1 + (hash0 ^ (byteValue(static_cast<unsigned char>(c), isSigned) * 7152373u));
        if (hash & 0x80000000u)
            hash -= 0x7fffffff;
        hash1 = hash0;
        hash0 = hash;
    }
    return hash0 << 1;
}

void halfMd4(u32 buf[4], const u32 in[8])
{
    constexpr u32 K2 = 013240474631, K3 = 015666365641;
    const auto f = [](u32 x, u32 y, u32 z) { return z ^ (x & (y ^ z)); };
    const auto g = [](u32 x, u32 y, u32 z) { return (x & y) + ((x ^ y) & z); };
    const auto h = [](u32 x, u32 y, u32 z) { return x ^ y ^ z; };
    u32 a = buf[0], b = buf[1], c = buf[2], d = buf[3];
    const auto round = [](auto fn, u32& w, u32 x, u32 y, u32 z, u32 input, int shift) {
        w = std::rotl(w + fn(x, y, z) + input, shift);
    };
    round(f, a, b, c, d, in[0], 3);
    round(f, d, a, b, c, in[1], 7);
    round(f, c, d, a, b, in[2], 11);
    round(f, b, c, d, a, in[3], 19);
    round(f, a, b, c, d, in[4], 3);
    round(f, d, a, b, c, in[5], 7);
    round(f, c, d, a, b, in[6], 11);
    round(f, b, c, d, a, in[7], 19);
    round(g, a, b, c, d, in[1] + K2, 3);
    round(g, d, a, b, c, in[3] + K2, 5);
    round(g, c, d, a, b, in[5] + K2, 9);
    round(g, b, c, d, a, in[7] + K2, 13);
    round(g, a, b, c, d, in[0] + K2, 3);
    round(g, d, a, b, c, in[2] + K2, 5);
    round(g, c, d, a, b, in[4] + K2, 9);
    round(g, b, c, d, a, in[6] + K2, 13);
    round(h, a, b, c, d, in[3] + K3, 3);
    round(h, d, a, b, c, in[7] + K3, 9);
    round(h, c, d, a, b, in[2] + K3, 11);
    round(h, b, c, d, a, in[6] + K3, 15);
    round(h, a, b, c, d, in[1] + K3, 3);
    round(h, d, a, b, c, in[5] + K3, 9);
    round(h, c, d, a, b, in[0] + K3, 11);
    round(h, b, c, d, a, in[4] + K3, 15);
    buf[0] += a;
    buf[1] += b;
    buf[2] += c;
    buf[3] += d;
}

void tea(u32 buf[4], const u32 in[4])
{
    u32 sum = 0, b0 = buf[0], b1 = buf[1];
    const u32 a = in[0], b = in[1], c = in[2], d = in[3];
    for (int n = 0; n < 16; ++n) {
        sum += 0x9E3779B9;
        b0 += ((b1 << 4) + a) ^ (b1 + sum) ^ ((b1 >> 5) + b);
        b1 += ((b0 << 4) + c) ^ (b0 + sum) ^ ((b0 >> 5) + d);
    }
    buf[0] += b0;
    buf[1] += b1;
}

}  // namespace

std::uint32_t extNameHash(std::string_view name, ExtHashVersion version, const ExtHashSeed& seed)
{
    u32 buf[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    if (std::any_of(seed.begin(), seed.end(), [](u32 w) { return w != 0; }))
        std::copy(seed.begin(), seed.end(), buf);
    const int v = static_cast<int>(version);
    const bool isSigned = v < 3;
    u32 hash = 0;
    switch (v % 3) {
    case 0: hash = legacyHash(name, isSigned); break;
    case 1: {
        u32 in[8];
        for (std::size_t at = 0; at < name.size(); at += 32) {
            packName(name.substr(at), isSigned, in, 8);
            halfMd4(buf, in);
        }
        hash = buf[1];
        break;
    }
    default: {
        u32 in[4];
        for (std::size_t at = 0; at < name.size(); at += 16) {
            packName(name.substr(at), isSigned, in, 4);
            tea(buf, in);
        }
        hash = buf[0];
        break;
    }
    }
    hash &= ~1u;
    // The largest value marks the end of the index's hash space.
    if (hash == (0x7fffffffu << 1))
        hash = (0x7fffffffu - 1) << 1;
    return hash;
}

}  // namespace dorvelix
