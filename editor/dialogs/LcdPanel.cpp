#include "LcdPanel.h"

#include "FormBuilder.h"
#include "common/QtPicture.h"
#include "editor/model/AdvancedClass.h"

#include <QFontDatabase>
#include <QLineEdit>
#include <QPainter>

namespace tessaron {

namespace {

// Where the rows of dot cells lie in the picture.
constexpr int GlassLeft = 28;
constexpr int GlassWidth = 264;
constexpr int RowTop[2] = {19, 51};
constexpr int RowHeight = 26;

QPalette lcdPalette(const QPalette& base)
{
    QPalette palette = base;
    const QColor glass(150, 190, 55);
    const QColor ink(16, 32, 8);
    for (const auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, glass);
        palette.setColor(group, QPalette::Text, ink);
        palette.setColor(group, QPalette::Highlight, ink);
        palette.setColor(group, QPalette::HighlightedText, glass);
    }
    palette.setColor(QPalette::Disabled, QPalette::Base, Qt::black);
    palette.setColor(QPalette::Disabled, QPalette::Text, Qt::black);
    return palette;
}

} // namespace

TLcdPanel::TLcdPanel(QWidget* parent, const char* line1Name, const char* line2Name,
                     const QString& spokenName)
    : QWidget(parent), m_picture(QPixmap::fromImage(LoadPicture("lcd-panel.jpg")))
{
    setFixedSize(Width, Height);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(20);
    font.setBold(true);
    m_line1 = MakeLatin1Edit(this, line1Name, LcdLineLength);
    m_line2 = MakeLatin1Edit(this, line2Name, LcdLineLength);
    int row = 0;
    for (QLineEdit* line : {m_line1, m_line2}) {
        line->setFont(font);
        line->setFrame(false);
        line->setPalette(lcdPalette(line->palette()));
        line->setGeometry(GlassLeft, RowTop[row], GlassWidth, RowHeight);
        line->setAccessibleName(QStringLiteral("%1, line %2").arg(spokenName).arg(row + 1));
        ++row;
    }
}

void TLcdPanel::SetSecondLineInUse(bool inUse)
{
    m_line2->setEnabled(inUse);
}

void TLcdPanel::paintEvent(QPaintEvent* /*event*/)
{
    // Without its picture the panel is an empty area behind the editors.
    if (!m_picture.isNull()) {
        QPainter painter(this);
        painter.drawPixmap(0, 0, m_picture);
    }
}

} // namespace tessaron
