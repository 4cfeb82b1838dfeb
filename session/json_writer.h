// A small JSON writer that keeps keys in the order they are written.
#pragma once

#include <QString>
#include <string>

namespace dorvelix {

class JsonWriter {
public:
    void beginObject(const char* key = nullptr);
    void endObject();
    void beginArray(const char* key);
    void endArray();
    void value(const char* key, long long number);
    void value(const char* key, double number);
    // A single-precision number in its shortest exact form.
    void value(const char* key, float number);
    void value(const char* key, bool truth);
    void null(const char* key);
    void value(const char* key, const QString& text);
    void element(const QString& text);
    const std::string& text() const { return out_; }

private:
    void separator();
    void writeKey(const char* key);
    void writeString(const QString& text);

    std::string out_;
    bool first_ = true;
};

}  // namespace dorvelix
