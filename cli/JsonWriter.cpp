#include "JsonWriter.h"

#include <cstdio>
#include <cstdlib>
#include <ostream>

namespace tessaron::cli {

namespace {

// The length of the valid UTF-8 sequence at text[i], 0 when there is none
// (overlong forms, surrogates and code points above U+10FFFF are no UTF-8).
size_t utf8Length(std::string_view text, size_t i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length;
    unsigned min;
    unsigned code;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, min = 0x80, code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, min = 0x800, code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, min = 0x10000, code = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > text.size()) {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i + k) & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return (code < min || code > 0x10FFFF || surrogate) ? 0 : length;
}

} // namespace

JsonWriter::~JsonWriter()
{
    m_out << '\n';
}

std::string JsonWriter::Quote(std::string_view text)
{
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const size_t n = utf8Length(text, i);
            if (n > 0) {
                out.append(text.substr(i, n));
                i += n;
            } else {
                // Latin-1: U+0080 to U+00FF in two bytes.
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
                ++i;
            }
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
        ++i;
    }
    return out + '"';
}

void JsonWriter::beforeValue()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_depth > 0) {
        m_out << (m_filled[m_depth - 1] ? ",\n" : "\n") << std::string(2 * m_depth, ' ');
        m_filled[m_depth - 1] = true;
    }
}

void JsonWriter::open(char bracket)
{
    beforeValue();
    if (m_depth == MaxDepth) {
        std::abort(); // the commands' documents are a few levels deep
    }
    m_out << bracket;
    m_filled[m_depth++] = false;
}

void JsonWriter::close(char bracket)
{
    if (m_depth == 0) {
        std::abort();
    }
    --m_depth;
    if (m_filled[m_depth]) {
        m_out << '\n' << std::string(2 * m_depth, ' ');
    }
    m_out << bracket;
}

void JsonWriter::beginObject()
{
    open('{');
}

void JsonWriter::endObject()
{
    close('}');
}

void JsonWriter::beginArray()
{
    open('[');
}

void JsonWriter::endArray()
{
    close(']');
}

void JsonWriter::key(std::string_view name)
{
    beforeValue();
    m_out << Quote(name) << ": ";
    m_afterKey = true;
}

void JsonWriter::string(std::string_view text)
{
    beforeValue();
    m_out << Quote(text);
}

void JsonWriter::number(long long value)
{
    beforeValue();
    m_out << value;
}

void JsonWriter::boolean(bool value)
{
    beforeValue();
    m_out << (value ? "true" : "false");
}

void JsonWriter::null()
{
    beforeValue();
    m_out << "null";
}

} // namespace tessaron::cli
