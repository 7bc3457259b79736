#include "MacroGrid.h"

#include "editor/window/MacroGridModel.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace tessaron {

namespace {

// Draws a cell the way a string grid does: its text two pixels in from the
// left, in the highlight colours while selected.
class CellPainter : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette::ColorGroup group =
            option.state.testFlag(QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
        if (selected) {
            painter->fillRect(option.rect, option.palette.color(group, QPalette::Highlight));
        }
        painter->setFont(option.font);
        painter->setPen(
            option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(option.rect.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter,
                          index.data(Qt::DisplayRole).toString());
    }
};

} // namespace

TMacroGrid::TMacroGrid(QWidget* parent) : QTableView(parent), m_model(new TMacroGridModel(this))
{
    setObjectName(QStringLiteral("Grid"));
    setModel(m_model);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(CellWidth);
    horizontalHeader()->setDefaultSectionSize(CellWidth);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(CellHeight);
    verticalHeader()->setDefaultSectionSize(CellHeight);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setShowGrid(true);
    setGridStyle(Qt::SolidLine);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setAutoScroll(true);

    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, QColor(0, 255, 0));
    colours.setColor(QPalette::Highlight, QColor(0, 110, 0));
    colours.setColor(QPalette::HighlightedText, QColor(255, 255, 255));
    colours.setColor(QPalette::Inactive, QPalette::Highlight, QColor(0, 80, 0));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText, QColor(220, 255, 220));
    // The standard styles draw grid lines in Mid (common) or a darker Window
    // (Fusion).
    colours.setColor(QPalette::Mid, QColor(60, 90, 60));
    colours.setColor(QPalette::Window, QColor(72, 108, 72));
    setPalette(colours);
    setItemDelegate(new CellPainter(this));
    // Labels such as "Beep100" have to fit a 53 pixel cell.
    QFont cellFont = font();
    cellFont.setStretch(QFont::SemiCondensed);
    cellFont.setPixelSize(11);
    setFont(cellFont);
    // Seven rows and every column in view, beside the scroll bar.
    setFixedSize(TMacroGridModel::Columns * CellWidth + 2 * frameWidth() +
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this),
                 7 * CellHeight + 2 * frameWidth());

    SetCursor(0);
}

int TMacroGrid::Cursor() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        return 0;
    }
    return current.row() * TMacroGridModel::Columns + current.column();
}

void TMacroGrid::SetCursor(int cell)
{
    if (cell < 0) {
        cell = 0;
    }
    if (cell >= TMacroGridModel::LastCell) {
        cell = TMacroGridModel::LastCell - 1;
    }
    const QModelIndex index =
        m_model->index(cell / TMacroGridModel::Columns, cell % TMacroGridModel::Columns);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
}

QRect TMacroGrid::SelectedBlock() const
{
    const QItemSelection selection = selectionModel()->selection();
    QRect block;
    for (const QItemSelectionRange& range : selection) {
        const QRect r(range.left(), range.top(), range.width(), range.height());
        block = block.isNull() ? r : block.united(r);
    }
    if (block.isNull()) {
        const int cell = Cursor();
        return {cell % TMacroGridModel::Columns, cell / TMacroGridModel::Columns, 1, 1};
    }
    return block;
}

bool TMacroGrid::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        if (tab && modifiers.testFlag(Qt::ControlModifier) &&
            !(modifiers & (Qt::AltModifier | Qt::MetaModifier))) {
            // Out of the grid to the next or previous control.
            const bool forward =
                key->key() == Qt::Key_Tab && !modifiers.testFlag(Qt::ShiftModifier);
            QWidget::focusNextPrevChild(forward);
            return true;
        }
        if (tab &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            // Tab moves one cell on, as navigation, and is then typed there.
            const auto move = key->key() == Qt::Key_Backtab ? QAbstractItemView::MovePrevious
                                                            : QAbstractItemView::MoveNext;
            const QModelIndex next = moveCursor(move, key->modifiers());
            if (next.isValid()) {
                selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect);
            }
            emit characterTyped('\t');
            return true;
        }
    }
    return QTableView::event(event);
}

void TMacroGrid::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace:
        emit backspacePressed();
        event->accept();
        return;
    case Qt::Key_Delete:
        emit deletePressed();
        event->accept();
        return;
    case Qt::Key_Shift:
        emit shiftPressed();
        event->accept();
        return;
    case Qt::Key_Menu:
    case Qt::Key_F10:
        if (event->key() == Qt::Key_Menu || event->modifiers() == Qt::ShiftModifier) {
            // Below the cursor cell, as the mouse would have opened it there.
            const QRect cell = visualRect(currentIndex());
            emit popupRequested(viewport()->mapToGlobal(cell.bottomLeft()));
            event->accept();
            return;
        }
        break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        QTableView::keyPressEvent(event);
        return;
    default:
        break;
    }
    if (event->modifiers() & (Qt::AltModifier | Qt::MetaModifier)) {
        event->ignore();
        return;
    }
    const QString text = event->text();
    if (text.isEmpty()) {
        event->ignore();
        return;
    }
    // Typed text is 8-bit (Latin-1); a character outside it maps to no key.
    char16_t c = text.at(0).unicode();
    if (event->modifiers() & Qt::ControlModifier) {
        // Ctrl with a letter (or @ [ \ ] ^ _) types its control character, as
        // on Windows; other Ctrl combinations type nothing.
        if (c >= 0x40 && c < 0x80) {
            c &= 0x1F;
        } else if (c >= 0x20) {
            event->ignore();
            return;
        }
    }
    emit characterTyped(c <= 0xFF ? int(c) : 0);
    event->accept();
}

void TMacroGrid::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Shift && !event->isAutoRepeat()) {
        emit shiftReleased();
        event->accept();
        return;
    }
    QTableView::keyReleaseEvent(event);
}

void TMacroGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        // The pop-up menu opens at the mouse; the cursor stays where it is.
        emit popupRequested(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void TMacroGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
    emit cellDoubleClicked();
}

void TMacroGrid::contextMenuEvent(QContextMenuEvent* event)
{
    // The right mouse button and the keys above open the menu; a desktop that
    // also sends a context menu event for them would open it twice.
    event->accept();
}

void TMacroGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid()) {
        emit cellSelected(current.row() * TMacroGridModel::Columns + current.column());
    }
}

} // namespace tessaron
