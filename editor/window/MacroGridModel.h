#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <array>

namespace tessaron {

// The cells of the macro grid: 14 rows of 8, cell index row * 8 + column.
// The last cell (index 111) can never be selected.
class TMacroGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    static constexpr int Columns = 8;
    static constexpr int Rows = 14;
    static constexpr int Cells = Columns * Rows;
    static constexpr int LastCell = Cells - 1;

    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Replaces every cell's text; only the cells that change are reported.
    void SetLabels(const std::array<QString, Cells>& labels);
    const QString& Label(int cell) const { return m_labels[static_cast<size_t>(cell)]; }

private:
    std::array<QString, Cells> m_labels;
};

} // namespace tessaron
