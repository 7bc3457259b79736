#pragma once

#include <array>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tessaron::cli {

// Writes one JSON document (RFC 8259) to a stream as it goes, indented by two
// spaces; commas and nesting are its business. Keys and texts are given as
// the suite holds them: UTF-8 passes through, and a byte that is no part of
// valid UTF-8 (the 8-bit texts of documents and keypads) is taken as the
// Latin-1 character of its value, so the output is always valid UTF-8.
class JsonWriter
{
public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}
    // Ends the document's line.
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The name of the next member of an object.
    void key(std::string_view name);

    void string(std::string_view text);
    void number(long long value);
    void boolean(bool value);
    void null();

    // key and value at once.
    void field(std::string_view name, std::string_view text)
    {
        key(name);
        string(text);
    }
    void field(std::string_view name, const char* text) { field(name, std::string_view(text)); }
    void field(std::string_view name, long long value)
    {
        key(name);
        number(value);
    }
    void field(std::string_view name, int value) { field(name, static_cast<long long>(value)); }
    void field(std::string_view name, bool value)
    {
        key(name);
        boolean(value);
    }

    // text as a JSON string, quotes included.
    static std::string Quote(std::string_view text);

    // Nesting deeper than this is a mistake of the caller's.
    static constexpr int MaxDepth = 16;

private:
    void beforeValue();
    void open(char bracket);
    void close(char bracket);

    std::ostream& m_out;
    // Per open level: whether it holds a value yet.
    std::array<bool, MaxDepth> m_filled{};
    int m_depth = 0;
    bool m_afterKey = false;
};

} // namespace tessaron::cli
