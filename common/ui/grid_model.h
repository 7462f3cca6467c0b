#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QStringList>
#include <vector>

// The cells of a data grid, stored as column vectors of texts. Grid coordinates are those of the
// programs: data rows from 1, columns from 1; row 0 is the title row (the horizontal header).
// Backgrounds are white unless painted; alignment is per cell with a per-column default.
// Growing the grid inserts all new rows in one step, so a batch costs one insertion.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit GridModel(QObject *parent = nullptr);

    int gridRowCount() const { return m_rows; }
    void setGridRowCount(int rows);
    int gridColumnCount() const { return int(m_cells.size()); }
    void setGridColumnCount(int columns);

    void setHeaderTexts(const QStringList &texts); // columns 1..n
    QString headerText(int column) const;

    void setCell(int row, int column, const QString &text);
    void setCell(int row, int column, const QString &text, Qt::Alignment alignment);
    QString cell(int row, int column) const;
    // Writes texts into columns 1.. of a row (the grid's "one row from tab-separated text").
    void setRowTexts(int row, const QStringList &texts);

    void setColumnAlignment(int column, Qt::Alignment alignment);
    void setCellAlignment(int row, int column, Qt::Alignment alignment);
    Qt::Alignment cellAlignment(int row, int column) const;

    // Paints the background of columns col1..col2 x rows row1..row2 (white clears).
    void paintBlock(int col1, int row1, int col2, int row2, const QColor &colour);
    QColor cellBackground(int row, int column) const;
    // Whether the cell has a painted background (not white), and which.
    bool paintedBackground(int row, int column, QColor *colour) const;

    // While notifications are held, cell changes are gathered and announced in one step when they
    // are released (the grid's "suspended redraw").
    void holdNotifications(bool hold);

    // QAbstractTableModel
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    bool valid(int row, int column) const;
    void touched(int row, int column);
    static quint64 key(int row, int column) { return (quint64(quint32(row)) << 32) | quint32(column); }

    int m_rows = 0;
    std::vector<std::vector<QString>> m_cells;     // [column-1][row-1]
    std::vector<std::vector<quint8>> m_alignments; // 0 = column default, else alignment code
    std::vector<Qt::Alignment> m_columnAlignment;
    QStringList m_headers;
    QHash<quint64, QRgb> m_backgrounds;
    int m_hold = 0;
    int m_dirtyFirst = -1;
    int m_dirtyLast = -1;
};
