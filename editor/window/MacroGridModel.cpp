#include "MacroGridModel.h"

#include <QBrush>
#include <QColor>

namespace tessaron {

int TMacroGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Rows;
}

int TMacroGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant TMacroGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) {
        return {};
    }
    const int cell = index.row() * Columns + index.column();
    switch (role) {
    case Qt::DisplayRole:
        return m_labels[static_cast<size_t>(cell)];
    case Qt::AccessibleTextRole: {
        // A screen reader says the item's label, and "empty" past the end.
        const QString label = m_labels[static_cast<size_t>(cell)].trimmed();
        return label.isEmpty() ? QStringLiteral("empty") : m_labels[static_cast<size_t>(cell)];
    }
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

Qt::ItemFlags TMacroGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() * Columns + index.column() == LastCell) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TMacroGridModel::SetLabels(const std::array<QString, Cells>& labels)
{
    // Each changed cell is reported on its own, so that the view repaints
    // only those: typing at the end of a macro changes one cell.
    for (size_t i = 0; i < labels.size(); ++i) {
        if (m_labels[i] != labels[i]) {
            m_labels[i] = labels[i];
            const QModelIndex cell =
                index(static_cast<int>(i) / Columns, static_cast<int>(i) % Columns);
            emit dataChanged(cell, cell, {Qt::DisplayRole, Qt::AccessibleTextRole});
        }
    }
}

} // namespace tessaron
