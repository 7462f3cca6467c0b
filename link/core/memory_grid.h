#pragma once

#include "link/core/record_grid.h"

#include <vector>

// A RecordGrid held in memory: column vectors of texts and styles. Used where no window is
// shown (tests, benchmarks).
class MemoryGrid : public RecordGrid
{
public:
    int rowCount() const override { return m_rows; }
    void setRowCount(int rows) override;
    int columnCount() const override { return int(m_columns.size()); }
    void setColumnCount(int columns) override;

    QString cell(int row, int column) const override;
    void setCell(int row, int column, const QString &text, Style style = Style::Plain) override;
    Style cellStyle(int row, int column) const override;

    void setColumnHidden(int column, bool hidden) override;
    bool isColumnHidden(int column) const override;

    void suspendRedraw() override { ++m_suspended; }
    void resumeRedraw() override { m_suspended = m_suspended > 0 ? m_suspended - 1 : 0; }
    int suspendDepth() const { return m_suspended; }

    void setCurrentRow(int row) override { m_currentRow = row; }
    int currentRow() const { return m_currentRow; }

    // The cells of a row joined with `separator` (row 0 = titles); for tests.
    QString rowText(int row, QChar separator = QLatin1Char('|')) const;

private:
    struct Column
    {
        std::vector<QString> texts;  // index = row (0 = title)
        std::vector<quint8> styles;
        bool hidden = false;
    };
    bool valid(int row, int column) const
    {
        return row >= 0 && row <= m_rows && column >= 1 && column <= columnCount();
    }

    int m_rows = 0;
    std::vector<Column> m_columns;
    int m_suspended = 0;
    int m_currentRow = 0;
};
