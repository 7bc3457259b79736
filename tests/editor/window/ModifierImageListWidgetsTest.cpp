#include "editor/window/ModifierImageList.h"

#include <QImage>
#include <QPainter>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace tessaron;

namespace {

int opaquePixels(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        }
    }
    return count;
}

} // namespace

TEST(ModifierImageList, NoIconForNoTypeOrUnknownTypes)
{
    EXPECT_TRUE(ModifierImageList::Icon(0).isNull());
    EXPECT_TRUE(ModifierImageList::Icon(4).isNull());
    EXPECT_TRUE(ModifierImageList::Icon(-1).isNull());
    EXPECT_TRUE(ModifierImageList::Icon(255).isNull());
}

TEST(ModifierImageList, EachTypeHasItsOwnDrawnIcon)
{
    QImage images[4];
    for (int type = 1; type <= 3; ++type) {
        const QPixmap icon = ModifierImageList::Icon(type);
        ASSERT_FALSE(icon.isNull()) << type;
        EXPECT_EQ(icon.size(), QSize(16, 16)) << type;
        // Enough drawn to be seen, and transparent around it.
        EXPECT_GT(opaquePixels(icon), 40) << type;
        EXPECT_LT(opaquePixels(icon), 16 * 16) << type;
        images[type] = icon.toImage();
    }
    EXPECT_NE(images[1], images[2]);
    EXPECT_NE(images[1], images[3]);
    EXPECT_NE(images[2], images[3]);
}

TEST(ModifierImageList, FitsAKeyButton)
{
    // Shown as the glyph of a 30 x 30 key button, the icon is drawn whole.
    QToolButton button;
    button.resize(30, 30);
    button.setIcon(QIcon(ModifierImageList::Icon(1)));
    button.setIconSize(QSize(16, 16));
    const QImage plain = [&] {
        QToolButton empty;
        empty.resize(30, 30);
        return empty.grab().toImage();
    }();
    EXPECT_NE(button.grab().toImage(), plain);
}
