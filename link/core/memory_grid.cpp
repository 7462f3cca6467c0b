#include "link/core/memory_grid.h"

#include <QStringList>

void MemoryGrid::setRowCount(int rows)
{
    m_rows = qMax(0, rows);
    for (Column &c : m_columns) {
        c.texts.resize(size_t(m_rows) + 1);
        c.styles.resize(size_t(m_rows) + 1, 0);
    }
}

void MemoryGrid::setColumnCount(int columns)
{
    m_columns.resize(size_t(qMax(0, columns)));
    for (Column &c : m_columns) {
        c.texts.resize(size_t(m_rows) + 1);
        c.styles.resize(size_t(m_rows) + 1, 0);
    }
}

QString MemoryGrid::cell(int row, int column) const
{
    return valid(row, column) ? m_columns[size_t(column - 1)].texts[size_t(row)] : QString();
}

void MemoryGrid::setCell(int row, int column, const QString &text, Style style)
{
    if (!valid(row, column))
        return;
    Column &c = m_columns[size_t(column - 1)];
    c.texts[size_t(row)] = text;
    c.styles[size_t(row)] = quint8(style);
}

RecordGrid::Style MemoryGrid::cellStyle(int row, int column) const
{
    return valid(row, column) ? Style(m_columns[size_t(column - 1)].styles[size_t(row)])
                              : Style::Plain;
}

void MemoryGrid::setColumnHidden(int column, bool hidden)
{
    if (column >= 1 && column <= columnCount())
        m_columns[size_t(column - 1)].hidden = hidden;
}

bool MemoryGrid::isColumnHidden(int column) const
{
    return column >= 1 && column <= columnCount() && m_columns[size_t(column - 1)].hidden;
}

QString MemoryGrid::rowText(int row, QChar separator) const
{
    QStringList cells;
    for (int c = 1; c <= columnCount(); ++c)
        cells << cell(row, c);
    return cells.join(separator);
}
