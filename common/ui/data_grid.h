#pragma once

#include "common/ui/grid_model.h"

#include <QTableView>

// The spreadsheet grid of both programs: a table view over a GridModel with fixed row heights,
// row numbers in the left header, read-only cells, an active cell that scrolls into view, hidden
// rows and columns, selection colours, and suspended redraw for batches.
// Grid coordinates are 1-based like the model's.
class DataGrid : public QTableView
{
    Q_OBJECT
public:
    explicit DataGrid(QWidget *parent = nullptr);

    GridModel *grid() const { return m_model; }

    // Redraw suspended / resumed; nested calls are counted.
    void suspendRedraw();
    void resumeRedraw();

    // Grows the grid to `rows` rows. Only the new rows are laid out and drawn; the stock view
    // lays out and redraws all of itself for every insertion. With `spareRow`, the last row is
    // hidden and the previous last row shown, in the same layout.
    void appendGridRows(int rows, bool spareRow = false);

    void setGridRowHidden(int row, bool hidden);
    bool isGridRowHidden(int row) const;
    void setGridColumnHidden(int column, bool hidden);
    bool isGridColumnHidden(int column) const;

    // Makes (row, column) the active cell, selects its row and scrolls it into view.
    void setActiveCell(int row, int column = 1);
    // The active row (1-based), 0 when there is none.
    int activeRow() const;

    void setSelectionColours(const QColor &background, const QColor &text);
    QColor selectionBackground() const;
    QColor selectionText() const;

    // Sets the fixed height of every row from the current font.
    void fitRowHeightToFont();

    void doItemsLayout() override;

Q_SIGNALS:
    // Key codes are Qt keys; the grid emits keyDown before it handles the key itself.
    void keyDown(int key, bool autoRepeat);
    void keyUp(int key, bool autoRepeat);
    void mouseMoved(Qt::MouseButtons buttons);
    void mouseReleased();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void rowHeightsChanged();

    GridModel *m_model;
    int m_suspended = 0;
    int m_appendedFrom = -1;  // first new row (0-based) while appendGridRows lays them out
    int m_resizedFrom = -1;   // first row (0-based) shown or hidden since the last redraw of rows
};
