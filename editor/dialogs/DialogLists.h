#pragma once

// The pick-lists of the property dialogs. A list stores the position of the
// chosen entry.

#include <QStringList>

namespace tessaron {

// "1200" to "31.25k": Baud_Rate, CardBaudRate.
QStringList BaudRateEntries();
constexpr int DefaultBaudRate = 3; // "9600"

// 128 entries, entry n for character code n: "NONE", "SOH" ... "US", "Space",
// "!" ... "~", "DEL".
QStringList CharacterEntries();

// The screen actions: list A holds codes 0 to 11, B 0 to 8, C 0 to 12, and D
// 0 to 11 followed by an empty entry that stores 12.
enum class TActionList
{
    A,
    B,
    C,
    D,
};
QStringList ActionEntries(TActionList list);

} // namespace tessaron
