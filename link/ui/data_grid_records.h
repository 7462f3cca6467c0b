#pragma once

#include "link/core/record_grid.h"

#include <QSet>
#include <QStringList>

class DataGrid;

// The record grid of the main window over the shared DataGrid: row 0 is the grid's header,
// numbers are right-aligned and markers centred.
class DataGridRecords : public RecordGrid
{
public:
    explicit DataGridRecords(DataGrid *grid);

    int rowCount() const override;
    void setRowCount(int rows) override;
    int columnCount() const override;
    void setColumnCount(int columns) override;

    QString cell(int row, int column) const override;
    void setCell(int row, int column, const QString &text, Style style = Style::Plain) override;
    Style cellStyle(int row, int column) const override;

    void setColumnHidden(int column, bool hidden) override;
    bool isColumnHidden(int column) const override;

    void suspendRedraw() override;
    void resumeRedraw() override;
    void setCurrentRow(int row) override;

private:
    void applyTitles();

    DataGrid *m_grid;
    QStringList m_titles;
    bool m_titlesChanged = false;
    int m_suspended = 0;
    int m_pendingCurrentRow = 0; // made current when redraw resumes (once per batch)
    QSet<QString> m_fitted;      // quantity texts the column was widened for
};
