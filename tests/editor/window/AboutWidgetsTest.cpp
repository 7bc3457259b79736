#include "editor/window/About.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace tessaron;

namespace {

// A picture is drawn when it has more than one colour.
bool hasDrawing(const QPixmap& pixmap)
{
    if (pixmap.isNull()) {
        return false;
    }
    const QImage image = pixmap.toImage();
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != first) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

TEST(AboutBox, VersionText)
{
    EXPECT_EQ(TfrmAbout::VersionText("6.0.0.0"), "Version 6.0.0");
    EXPECT_EQ(TfrmAbout::VersionText("5.43.1.7"), "Version 5.43.");
    EXPECT_EQ(TfrmAbout::VersionText("1.2"), "Version 1.2");
    EXPECT_EQ(TfrmAbout::VersionText(""), "Version NA");
}

TEST(AboutBox, ShowsThisProgramsVersionAndDescription)
{
    TfrmAbout box(nullptr);
    const auto* version = box.findChild<QLabel*>("lblVersion");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->text(), "Version 6.0.0");
    const auto* description = box.findChild<QLabel*>("lblDescription");
    ASSERT_NE(description, nullptr);
    EXPECT_EQ(description->text(), "Plindorax Redefinition Software for Tessaron 5xx");
    EXPECT_TRUE(description->font().bold());
    EXPECT_TRUE(description->wordWrap());
    const auto* ok = box.findChild<QPushButton*>("btnOk");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
}

TEST(AboutBox, BorderlessWhiteOnTop)
{
    TfrmAbout box(nullptr);
    EXPECT_EQ(box.size(), QSize(331, 151));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_TRUE(box.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(box.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(box.isModal());
    for (const QWidget* w : box.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(QRect(2, 2, 327, 147).contains(w->geometry())) << w->objectName().toStdString();
    }
}

TEST(AboutBox, BlackFrameOneInsideTheEdge)
{
    TfrmAbout box(nullptr);
    const QImage image = box.grab().toImage();
    ASSERT_EQ(image.size(), QSize(331, 151));
    const QRgb black = qRgb(0, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    // The frame's lines.
    for (const QPoint& p : {QPoint(1, 1), QPoint(329, 1), QPoint(1, 149), QPoint(329, 149),
                            QPoint(165, 1), QPoint(165, 149), QPoint(1, 75), QPoint(329, 75)}) {
        EXPECT_EQ(image.pixel(p), black) << p.x() << "," << p.y();
    }
    // White outside it and just inside it.
    for (const QPoint& p :
         {QPoint(0, 0), QPoint(330, 150), QPoint(165, 0), QPoint(330, 75), QPoint(165, 150),
          QPoint(0, 75), QPoint(2, 2), QPoint(328, 148), QPoint(165, 2), QPoint(328, 75)}) {
        EXPECT_EQ(image.pixel(p), white) << p.x() << "," << p.y();
    }
}

TEST(AboutBox, CentredOverTheMainWindow)
{
    QWidget mainWindow;
    mainWindow.setGeometry(100, 60, 627, 455);
    mainWindow.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&mainWindow));
    TfrmAbout box(&mainWindow);
    const QRect frame = mainWindow.frameGeometry();
    EXPECT_EQ(box.pos(), QPoint(frame.left() + frame.width() / 2 - 331 / 2,
                                frame.top() + frame.height() / 2 - 151 / 2));
}

TEST(AboutBox, OkEndsTheModalRun)
{
    QWidget mainWindow;
    mainWindow.resize(627, 455);
    TfrmAbout box(&mainWindow);
    bool wasShown = false;
    QTimer::singleShot(0, &box, [&] {
        wasShown = box.isVisible();
        QTest::mouseClick(box.findChild<QPushButton*>("btnOk"), Qt::LeftButton);
    });
    // A fallback so that a broken OK button fails the test instead of hanging it.
    QTimer::singleShot(5000, &box, [&] { box.done(-1); });
    EXPECT_EQ(box.exec(), QDialog::Accepted);
    EXPECT_TRUE(wasShown);
    EXPECT_FALSE(box.isVisible());
}

TEST(AboutBox, PicturesAreDrawn)
{
    EXPECT_TRUE(hasDrawing(TfrmAbout::ProductPicture()));
    EXPECT_TRUE(hasDrawing(TfrmAbout::MakerLogo()));
    TfrmAbout box(nullptr);
    for (const char* name : {"imgProduct", "imgLogo"}) {
        const auto* label = box.findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_TRUE(hasDrawing(label->pixmap())) << name;
    }
}
