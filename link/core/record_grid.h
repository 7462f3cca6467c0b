#pragma once

#include <QString>

// What the record decoding and the CSV files need of the data grid: rows and columns counted
// from 1, row 0 holding the column titles; cell texts with a display style; hidden columns;
// suspended redraw; the current row. The main window implements it over the shared DataGrid;
// tests and benchmarks use MemoryGrid.
class RecordGrid
{
public:
    // Plain text, a number (right-aligned) or a marker (centred).
    enum class Style { Plain, Number, Marker };

    virtual ~RecordGrid() = default;

    // Data rows (row 0, the title row, is not counted and always exists).
    virtual int rowCount() const = 0;
    virtual void setRowCount(int rows) = 0;
    virtual int columnCount() const = 0;
    virtual void setColumnCount(int columns) = 0;

    // Row 0 is the title row. Cells outside the grid read as empty and ignore writes.
    virtual QString cell(int row, int column) const = 0;
    virtual void setCell(int row, int column, const QString &text, Style style = Style::Plain) = 0;
    virtual Style cellStyle(int row, int column) const = 0;

    virtual void setColumnHidden(int column, bool hidden) = 0;
    virtual bool isColumnHidden(int column) const = 0;

    // Redraw suspended while a row is written; calls nest.
    virtual void suspendRedraw() = 0;
    virtual void resumeRedraw() = 0;

    // The row just written becomes the current one.
    virtual void setCurrentRow(int row) = 0;
};

// Suspends redraw for a scope.
class GridRedrawPause
{
public:
    explicit GridRedrawPause(RecordGrid &grid) : m_grid(grid) { m_grid.suspendRedraw(); }
    ~GridRedrawPause() { m_grid.resumeRedraw(); }
    GridRedrawPause(const GridRedrawPause &) = delete;
    GridRedrawPause &operator=(const GridRedrawPause &) = delete;

private:
    RecordGrid &m_grid;
};
