#pragma once

#include <QPixmap>

namespace tessaron {

// The key type icons of the on-screen keypad, drawn by the program: index 1
// Level Shift, 2 Level Toggle, 3 Alpha Toggle (Alpha Lock); 0 has none.
class ModifierImageList
{
public:
    static constexpr int Count = 4;
    static constexpr int IconSize = 16;

    // A null pixmap for 0 and for values outside the list.
    static QPixmap Icon(int keyType);
};

} // namespace tessaron
