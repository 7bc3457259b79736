#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaron {

// A field of a parameter record: a byte, a 32-bit integer or a text member,
// or none.
template <class Record>
class TRecordField
{
public:
    constexpr TRecordField() = default;
    constexpr TRecordField(std::uint8_t Record::*byte) : m_byte(byte) {}
    constexpr TRecordField(std::int32_t Record::*integer) : m_integer(integer) {}
    constexpr TRecordField(std::string Record::*text) : m_text(text) {}

    constexpr bool Exists() const
    {
        return m_byte != nullptr || m_integer != nullptr || m_text != nullptr;
    }
    constexpr bool IsText() const { return m_text != nullptr; }

    // A number field's value.
    int Get(const Record& record) const
    {
        return m_byte != nullptr ? record.*m_byte : record.*m_integer;
    }
    // A byte field keeps the low 8 bits.
    void Set(Record& record, int value) const
    {
        if (m_byte != nullptr) {
            record.*m_byte = static_cast<std::uint8_t>(value);
        } else {
            record.*m_integer = value;
        }
    }
    const std::string& Text(const Record& record) const { return record.*m_text; }
    std::string& Text(Record& record) const { return record.*m_text; }

    // Where the field lies in a record: the fields of a record lie at rising
    // addresses in the order they are declared.
    const void* Address(const Record& record) const
    {
        if (m_byte != nullptr) {
            return &(record.*m_byte);
        }
        return m_integer != nullptr ? static_cast<const void*>(&(record.*m_integer))
                                    : static_cast<const void*>(&(record.*m_text));
    }

private:
    std::uint8_t Record::*m_byte = nullptr;
    std::int32_t Record::*m_integer = nullptr;
    std::string Record::*m_text = nullptr;
};

// How a file key holds its field.
enum class TFieldKind : std::uint8_t
{
    Number,   // decimal; a byte field keeps the low 8 bits of what is read
    Flag,     // "1" or "0"
    LcdLine1, // an LCD line between "%", padded to 16 characters
    LcdLine2, // the same, and empty on a one-line LCD
    Text,     // as it is
};

// A value that a table gives: a number, or a text for a text field.
struct TFieldValue
{
    constexpr TFieldValue(int number) : Number(number) {}
    constexpr TFieldValue(const char* text) : Text(text) {}

    int Number = 0;
    std::string_view Text;
};

// One key of a file section and the record field it holds: its value in a new
// document and its value when the file has no such key.
template <class Record>
struct TSectionField
{
    std::string_view Key;
    TFieldKind Kind;
    TFieldValue New;
    TFieldValue File;
    TRecordField<Record> Field;
};

template <class Record, std::size_t Count>
using TSectionFields = std::array<TSectionField<Record>, Count>;

// Sets every field of a table to its new-document value, or to its value for
// a missing key.
template <class Record, std::size_t Count>
void SetSectionDefaults(Record& record, const TSectionFields<Record, Count>& fields,
                        bool fileDefaults)
{
    for (const TSectionField<Record>& f : fields) {
        const TFieldValue& value = fileDefaults ? f.File : f.New;
        if (f.Field.IsText()) {
            f.Field.Text(record) = std::string(value.Text);
        } else {
            f.Field.Set(record, value.Number);
        }
    }
}

} // namespace tessaron
