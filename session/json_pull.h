// The pull reader that reads a saved scan: one JSON value at a time from a
// file read in blocks, the values wanted kept and the others skipped without
// being held; what is wrong with the file is thrown as a SavedScanError.
#pragma once

#include "saved_scan.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <memory>
#include <string>

namespace dorvelix::saved_scan_reading {

using Kind = SavedScanError::Kind;

// No name or text the report writes comes near this; a longer one is not
// kept, so that a foreign file cannot make the reader hold it.
constexpr size_t LongestText = 1 << 20;

// A JSON reader that pulls one value at a time from a file read in blocks:
// the values wanted are kept, the others skipped without being held.
class JsonPull {
public:
    explicit JsonPull(FILE* file) : file_(file) {}

    // The next character after white space, not taken.
    int next()
    {
        for (int c = peek(); c == ' ' || c == '\t' || c == '\r' || c == '\n'; c = peek())
            take();
        const int c = peek();
        if (c < 0)
            throw SavedScanError(Kind::Truncated, offset_);
        return c;
    }
    bool atEnd()
    {
        for (int c = peek(); c == ' ' || c == '\t' || c == '\r' || c == '\n'; c = peek())
            take();
        return peek() < 0;
    }
    void expect(char c)
    {
        if (next() != c)
            notJson();
        take();
    }
    [[noreturn]] void notJson() const { throw SavedScanError(Kind::NotJson, offset_); }
    // A value of another type than the one expected: valid JSON, not a scan.
    [[noreturn]] void wrongType()
    {
        const int c = next();
        if (c == '"' || c == '{' || c == '[' || c == '-' || c == 't' || c == 'f' || c == 'n' || (c >= '0' && c <= '9'))
            throw SavedScanError(Kind::NotAScan, offset_);
        notJson();
    }

    std::string text(bool keep = true)
    {
        if (next() != '"')
            wrongType();
        take();
        std::string out;
        for (;;) {
            int c = peek();
            if (c < 0)
                throw SavedScanError(Kind::Truncated, offset_);
            take();
            if (c == '"')
                return out;
            if (c < 0x20)
                notJson();
            if (c == '\\')
                c = escaped(out, keep);
            if (c >= 0 && keep)
                out += static_cast<char>(c);
            if (keep && out.size() > LongestText)
                throw SavedScanError(Kind::ValueTooLong, offset_);
        }
    }

    long long number()
    {
        const int first = next();
        if (first != '-' && (first < '0' || first > '9'))
            wrongType();
        char digits[48];
        size_t n = 0;
        for (int c = peek(); c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E' || (c >= '0' && c <= '9'); c = peek()) {
            if (n == sizeof digits)
                notJson();
            digits[n++] = static_cast<char>(c);
            take();
        }
        long long value = 0;
        const auto [end, error] = std::from_chars(digits, digits + n, value);
        if (error == std::errc() && end == digits + n)
            return value;
        double real = 0;
        const auto [realEnd, realError] = std::from_chars(digits, digits + n, real);
        if (realError != std::errc() || realEnd != digits + n)
            notJson();
        return static_cast<long long>(real);
    }

    // Skips one value of any kind, nested or not, holding nothing of it.
    void skip()
    {
        int depth = 0;
        do {
            const int c = next();
            if (c == '"') {
                text(false);
            } else if (c == '{' || c == '[') {
                ++depth;
                take();
            } else if (c == '}' || c == ']') {
                if (--depth < 0)
                    notJson();
                take();
            } else if (c == ',' || c == ':') {
                if (depth == 0)
                    notJson();
                take();
            } else {
                scalar();
            }
        } while (depth > 0);
    }

    // Calls f(key) for each member of an object, with the value next.
    template <class F>
    void members(F&& f)
    {
        if (next() != '{')
            wrongType();
        take();
        if (next() == '}')
            return take();
        for (;;) {
            const std::string key = text();
            expect(':');
            f(key);
            const int c = next();
            take();
            if (c == '}')
                return;
            if (c != ',')
                notJson();
        }
    }
    // Calls f() for each element of an array, with the element next.
    template <class F>
    void elements(F&& f)
    {
        if (next() != '[')
            wrongType();
        take();
        if (next() == ']')
            return take();
        for (;;) {
            f();
            const int c = next();
            take();
            if (c == ']')
                return;
            if (c != ',')
                notJson();
        }
    }

    long long offset() const { return offset_; }

private:
    int peek()
    {
        if (at_ == length_) {
            length_ = std::fread(buffer_.get(), 1, BlockBytes, file_);
            at_ = 0;
            if (length_ == 0) {
                if (std::ferror(file_))
                    throw SavedScanError(Kind::Unreadable, offset_, errno);
                return -1;
            }
        }
        return static_cast<unsigned char>(buffer_[at_]);
    }
    void take()
    {
        ++at_;
        ++offset_;
    }
    // true, false, null or a number, read and dropped.
    void scalar()
    {
        size_t n = 0;
        for (int c = peek(); c >= 0 && (std::isalnum(c) || c == '-' || c == '+' || c == '.'); c = peek(), ++n)
            take();
        if (n == 0)
            notJson();
    }
    int hexDigit()
    {
        const int c = peek();
        if (c < 0)
            throw SavedScanError(Kind::Truncated, offset_);
        take();
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        notJson();
    }
    unsigned hex4()
    {
        unsigned u = 0;
        for (int i = 0; i < 4; ++i)
            u = u * 16 + static_cast<unsigned>(hexDigit());
        return u;
    }
    // After a backslash: the character it stands for, or -1 when the
    // escape was appended to out already (\u, as UTF-8).
    int escaped(std::string& out, bool keep)
    {
        const int c = peek();
        if (c < 0)
            throw SavedScanError(Kind::Truncated, offset_);
        take();
        switch (c) {
        case '"': case '\\': case '/': return c;
        case 'b': return '\b';
        case 'f': return '\f';
        case 'n': return '\n';
        case 'r': return '\r';
        case 't': return '\t';
        case 'u': break;
        default: notJson();
        }
        unsigned u = hex4();
        if (u >= 0xD800 && u < 0xDC00) {
            expect('\\');
            if (peek() != 'u')
                notJson();
            take();
            const unsigned low = hex4();
            if (low < 0xDC00 || low > 0xDFFF)
                notJson();
            u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
        }
        if (keep)
            appendUtf8(out, u);
        return -1;
    }
    static void appendUtf8(std::string& out, unsigned u)
    {
        if (u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x800) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else if (u < 0x10000) {
            out += static_cast<char>(0xE0 | (u >> 12));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (u >> 18));
            out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }

    static constexpr size_t BlockBytes = 64 * 1024;
    FILE* file_;
    std::unique_ptr<char[]> buffer_ = std::make_unique<char[]>(BlockBytes);
    size_t at_ = 0;
    size_t length_ = 0;
    long long offset_ = 0;
};

}  // namespace dorvelix::saved_scan_reading
