#include "DialogLists.h"

namespace tessaron {

QStringList BaudRateEntries()
{
    return {QStringLiteral("1200"),  QStringLiteral("2400"),   QStringLiteral("4800"),
            QStringLiteral("9600"),  QStringLiteral("19.2k"),  QStringLiteral("38.4k"),
            QStringLiteral("57.6k"), QStringLiteral("115.2k"), QStringLiteral("31.25k")};
}

QStringList CharacterEntries()
{
    static const char* const controls[32] = {
        "NONE", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "TAB", "LF",
        "VT",   "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
        "SYN",  "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
    QStringList entries;
    entries.reserve(128);
    for (const char* name : controls) {
        entries << QString::fromLatin1(name);
    }
    entries << QStringLiteral("Space");
    for (char c = '!'; c <= '~'; ++c) {
        entries << QString(QLatin1Char(c));
    }
    entries << QStringLiteral("DEL");
    return entries;
}

QStringList ActionEntries(TActionList list)
{
    QStringList entries{QStringLiteral("Nothing")};
    for (int screen = 1; screen <= 8; ++screen) {
        entries << QStringLiteral("Go to Screen %1").arg(screen);
    }
    if (list == TActionList::B) {
        return entries;
    }
    entries << QStringLiteral("Beep") << QStringLiteral("Erase one character")
            << QStringLiteral("Erase all characters");
    if (list == TActionList::C) {
        entries << QStringLiteral("Accept key data");
    } else if (list == TActionList::D) {
        entries << QString();
    }
    return entries;
}

} // namespace tessaron
