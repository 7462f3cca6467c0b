#include "common/ui/grid_model.h"

namespace {

// Alignments a grid cell can take, stored in one byte per cell.
const Qt::Alignment kAlignments[] = {
    Qt::Alignment(),                    // 0: column default
    Qt::AlignLeft | Qt::AlignVCenter,   // 1
    Qt::AlignHCenter | Qt::AlignVCenter, // 2
    Qt::AlignRight | Qt::AlignVCenter,  // 3
};

quint8 alignmentCode(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter)
        return 2;
    if (a & Qt::AlignRight)
        return 3;
    return 1;
}

} // namespace

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent) {}

bool GridModel::valid(int row, int column) const
{
    return row >= 1 && row <= m_rows && column >= 1 && column <= gridColumnCount();
}

void GridModel::setGridRowCount(int rows)
{
    rows = qMax(0, rows);
    if (rows == m_rows)
        return;
    if (rows > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, rows - 1);
        for (auto &c : m_cells)
            c.resize(size_t(rows));
        for (auto &a : m_alignments)
            a.resize(size_t(rows), 0);
        m_rows = rows;
        endInsertRows();
    } else {
        beginRemoveRows(QModelIndex(), rows, m_rows - 1);
        for (auto &c : m_cells) {
            c.resize(size_t(rows));
            if (rows == 0)
                c.shrink_to_fit();
        }
        for (auto &a : m_alignments) {
            a.resize(size_t(rows));
            if (rows == 0)
                a.shrink_to_fit();
        }
        for (auto it = m_backgrounds.begin(); it != m_backgrounds.end();) {
            if (int(it.key() >> 32) > rows)
                it = m_backgrounds.erase(it);
            else
                ++it;
        }
        m_rows = rows;
        endRemoveRows();
    }
}

void GridModel::setGridColumnCount(int columns)
{
    columns = qMax(0, columns);
    if (columns == gridColumnCount())
        return;
    beginResetModel();
    m_cells.resize(size_t(columns));
    m_alignments.resize(size_t(columns));
    m_columnAlignment.resize(size_t(columns), Qt::AlignLeft | Qt::AlignVCenter);
    for (auto &c : m_cells)
        c.resize(size_t(m_rows));
    for (auto &a : m_alignments)
        a.resize(size_t(m_rows), 0);
    while (m_headers.size() > columns)
        m_headers.removeLast();
    for (auto it = m_backgrounds.begin(); it != m_backgrounds.end();) {
        if (int(it.key() & 0xffffffffu) > columns)
            it = m_backgrounds.erase(it);
        else
            ++it;
    }
    endResetModel();
}

void GridModel::setHeaderTexts(const QStringList &texts)
{
    m_headers = texts.mid(0, gridColumnCount());
    if (gridColumnCount() > 0)
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, gridColumnCount() - 1);
}

QString GridModel::headerText(int column) const
{
    return m_headers.value(column - 1);
}

void GridModel::touched(int row, int column)
{
    if (m_hold > 0) {
        m_dirtyFirst = m_dirtyFirst < 0 ? row : qMin(m_dirtyFirst, row);
        m_dirtyLast = qMax(m_dirtyLast, row);
        return;
    }
    const QModelIndex i = index(row - 1, column - 1);
    Q_EMIT dataChanged(i, i);
}

void GridModel::setCell(int row, int column, const QString &text)
{
    if (!valid(row, column))
        return;
    m_cells[size_t(column - 1)][size_t(row - 1)] = text;
    touched(row, column);
}

void GridModel::setCell(int row, int column, const QString &text, Qt::Alignment alignment)
{
    if (!valid(row, column))
        return;
    m_cells[size_t(column - 1)][size_t(row - 1)] = text;
    m_alignments[size_t(column - 1)][size_t(row - 1)] = alignmentCode(alignment);
    touched(row, column);
}

QString GridModel::cell(int row, int column) const
{
    if (!valid(row, column))
        return QString();
    return m_cells[size_t(column - 1)][size_t(row - 1)];
}

void GridModel::setRowTexts(int row, const QStringList &texts)
{
    for (int c = 0; c < texts.size() && c < gridColumnCount(); ++c)
        setCell(row, c + 1, texts.at(c));
}

void GridModel::setColumnAlignment(int column, Qt::Alignment alignment)
{
    if (column < 1 || column > gridColumnCount())
        return;
    m_columnAlignment[size_t(column - 1)] = alignment;
}

void GridModel::setCellAlignment(int row, int column, Qt::Alignment alignment)
{
    if (!valid(row, column))
        return;
    m_alignments[size_t(column - 1)][size_t(row - 1)] = alignmentCode(alignment);
    touched(row, column);
}

Qt::Alignment GridModel::cellAlignment(int row, int column) const
{
    if (!valid(row, column))
        return Qt::Alignment();
    const quint8 code = m_alignments[size_t(column - 1)][size_t(row - 1)];
    return code == 0 ? m_columnAlignment[size_t(column - 1)] : kAlignments[code];
}

void GridModel::paintBlock(int col1, int row1, int col2, int row2, const QColor &colour)
{
    col1 = qMax(col1, 1);
    row1 = qMax(row1, 1);
    col2 = qMin(col2, gridColumnCount());
    row2 = qMin(row2, m_rows);
    const bool white = colour.rgb() == QColor(Qt::white).rgb();
    for (int r = row1; r <= row2; ++r) {
        for (int c = col1; c <= col2; ++c) {
            if (white)
                m_backgrounds.remove(key(r, c));
            else
                m_backgrounds.insert(key(r, c), colour.rgb());
        }
        if (col1 <= col2)
            touched(r, col1);
    }
    if (m_hold == 0 && row1 <= row2 && col1 <= col2)
        Q_EMIT dataChanged(index(row1 - 1, col1 - 1), index(row2 - 1, col2 - 1));
}

QColor GridModel::cellBackground(int row, int column) const
{
    const auto it = m_backgrounds.constFind(key(row, column));
    return it == m_backgrounds.constEnd() ? QColor(Qt::white) : QColor(*it);
}

bool GridModel::paintedBackground(int row, int column, QColor *colour) const
{
    const auto it = m_backgrounds.constFind(key(row, column));
    if (it == m_backgrounds.constEnd())
        return false;
    *colour = QColor(*it);
    return true;
}

void GridModel::holdNotifications(bool hold)
{
    if (hold) {
        ++m_hold;
        return;
    }
    if (m_hold == 0)
        return;
    if (--m_hold == 0 && m_dirtyFirst >= 1 && gridColumnCount() > 0) {
        const int first = qMin(m_dirtyFirst, m_rows);
        const int last = qMin(m_dirtyLast, m_rows);
        m_dirtyFirst = m_dirtyLast = -1;
        if (first >= 1 && last >= first)
            Q_EMIT dataChanged(index(first - 1, 0), index(last - 1, gridColumnCount() - 1));
    }
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : gridColumnCount();
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    const int row = index.row() + 1;
    const int column = index.column() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return cell(row, column);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(cellAlignment(row, column));
    case Qt::BackgroundRole: {
        const auto it = m_backgrounds.constFind(key(row, column));
        return it == m_backgrounds.constEnd() ? QVariant() : QVariant(QColor(*it));
    }
    default:
        return QVariant();
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return m_headers.value(section);
    return section + 1;
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable; // static text, never editable
}
