#include "acq/core/sample_table.h"

void SampleTable::reset(int n)
{
    m_rows = n < 0 ? 0 : n + 1;
    m_cells.assign(size_t(m_rows) * kColumns, QString());
}

QString SampleTable::cell(int row, int column) const
{
    if (row < 0 || row >= m_rows || column < 1 || column > kColumns)
        return QString();
    return m_cells[size_t(row) * kColumns + size_t(column - 1)];
}

void SampleTable::set(int row, int column, const QString &text)
{
    if (row < 0 || row >= m_rows || column < 1 || column > kColumns)
        return;
    m_cells[size_t(row) * kColumns + size_t(column - 1)] = text;
}
