#include "json_writer.h"

#include <charconv>
#include <cstdio>

namespace dorvelix {

void JsonWriter::separator()
{
    if (!first_)
        out_ += ", ";
    first_ = false;
}

void JsonWriter::writeKey(const char* key)
{
    separator();
    if (key) {
        writeString(QString::fromUtf8(key));
        out_ += ": ";
    }
}

void JsonWriter::writeString(const QString& text)
{
    out_ += '"';
    for (const char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out_ += '\\';
            out_ += c;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out_ += buf;
        } else {
            out_ += c;
        }
    }
    out_ += '"';
}

void JsonWriter::beginObject(const char* key)
{
    if (key || !out_.empty())
        writeKey(key);
    out_ += '{';
    first_ = true;
}

void JsonWriter::endObject()
{
    out_ += '}';
    first_ = false;
}

void JsonWriter::beginArray(const char* key)
{
    writeKey(key);
    out_ += '[';
    first_ = true;
}

void JsonWriter::endArray()
{
    out_ += ']';
    first_ = false;
}

void JsonWriter::value(const char* key, long long number)
{
    writeKey(key);
    out_ += std::to_string(number);
}

void JsonWriter::value(const char* key, double number)
{
    writeKey(key);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", number);
    out_ += buf;
}

void JsonWriter::value(const char* key, float number)
{
    writeKey(key);
    char buf[32];
    const auto result = std::to_chars(buf, buf + sizeof buf, number);
    out_.append(buf, result.ptr);
}

void JsonWriter::value(const char* key, bool truth)
{
    writeKey(key);
    out_ += truth ? "true" : "false";
}

void JsonWriter::null(const char* key)
{
    writeKey(key);
    out_ += "null";
}

void JsonWriter::value(const char* key, const QString& text)
{
    writeKey(key);
    writeString(text);
}

void JsonWriter::element(const QString& text)
{
    separator();
    writeString(text);
}

}  // namespace dorvelix
