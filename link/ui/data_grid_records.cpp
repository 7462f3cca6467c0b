#include "link/ui/data_grid_records.h"

#include "common/ui/data_grid.h"
#include "link/core/record_decoder.h"

#include <QHeaderView>

namespace {

Qt::Alignment alignmentFor(RecordGrid::Style style)
{
    switch (style) {
    case RecordGrid::Style::Number:
        return Qt::AlignRight | Qt::AlignVCenter;
    case RecordGrid::Style::Marker:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case RecordGrid::Style::Plain:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

} // namespace

DataGridRecords::DataGridRecords(DataGrid *grid) : m_grid(grid) {}

void DataGridRecords::applyTitles()
{
    m_grid->grid()->setHeaderTexts(m_titles);
    // Each column as wide as its title or a typical value, whichever is wider; the widths
    // follow the titles only, never the growing contents.
    QHeaderView *header = m_grid->horizontalHeader();
    const QFontMetrics titleMetrics(header->font());
    const QFontMetrics cellMetrics(m_grid->font());
    const int value = cellMetrics.horizontalAdvance(QStringLiteral("0000.00")) + 12;
    for (int c = 0; c < m_titles.size(); ++c)
        header->resizeSection(c, qMax(value, titleMetrics.horizontalAdvance(m_titles.at(c)) + 14));
    // A stretched last column would be cut to the space left; the quantity column keeps its width.
    header->setStretchLastSection(m_titles.size() < RecordDecoder::kQuantityColumn);
    if (m_titles.size() >= RecordDecoder::kQuantityColumn) {
        int quantity = header->sectionSize(RecordDecoder::kQuantityColumn - 1);
        for (const QString &text : m_fitted)
            quantity = qMax(quantity, cellMetrics.horizontalAdvance(text) + 14);
        header->resizeSection(RecordDecoder::kQuantityColumn - 1, quantity);
    }
}

int DataGridRecords::rowCount() const
{
    return m_grid->grid()->gridRowCount();
}

void DataGridRecords::setRowCount(int rows)
{
    if (rows < m_pendingCurrentRow)
        m_pendingCurrentRow = 0;
    if (rows == 0)
        m_fitted.clear();
    m_grid->grid()->setGridRowCount(rows);
}

int DataGridRecords::columnCount() const
{
    return m_grid->grid()->gridColumnCount();
}

void DataGridRecords::setColumnCount(int columns)
{
    m_grid->grid()->setGridColumnCount(columns);
    while (m_titles.size() < columns)
        m_titles << QString();
    while (m_titles.size() > columns)
        m_titles.removeLast();
    applyTitles();
}

QString DataGridRecords::cell(int row, int column) const
{
    if (row == 0)
        return column >= 1 && column <= columnCount() ? m_titles.value(column - 1) : QString();
    return m_grid->grid()->cell(row, column);
}

void DataGridRecords::setCell(int row, int column, const QString &text, Style style)
{
    if (row == 0) {
        if (column < 1 || column > columnCount())
            return;
        m_titles[column - 1] = text;
        if (m_suspended > 0)
            m_titlesChanged = true;
        else
            applyTitles();
        return;
    }
    m_grid->grid()->setCell(row, column, text, alignmentFor(style));
    // The quantity column takes a few distinct texts ("AFLOW(m3/h)"): it grows to fit each the
    // first time it comes, so it is measured a few times per download, not once per row.
    if (column == RecordDecoder::kQuantityColumn && !m_fitted.contains(text)) {
        m_fitted.insert(text);
        QHeaderView *header = m_grid->horizontalHeader();
        const int wanted = QFontMetrics(m_grid->font()).horizontalAdvance(text) + 14;
        if (header->sectionSize(column - 1) < wanted)
            header->resizeSection(column - 1, wanted);
    }
}

RecordGrid::Style DataGridRecords::cellStyle(int row, int column) const
{
    const Qt::Alignment a = m_grid->grid()->cellAlignment(row, column);
    if (a & Qt::AlignRight)
        return Style::Number;
    if (a & Qt::AlignHCenter)
        return Style::Marker;
    return Style::Plain;
}

void DataGridRecords::setColumnHidden(int column, bool hidden)
{
    m_grid->setGridColumnHidden(column, hidden);
}

bool DataGridRecords::isColumnHidden(int column) const
{
    return m_grid->isGridColumnHidden(column);
}

void DataGridRecords::suspendRedraw()
{
    ++m_suspended;
    m_grid->suspendRedraw();
}

void DataGridRecords::resumeRedraw()
{
    if (m_suspended == 0)
        return;
    if (--m_suspended == 0 && m_titlesChanged) {
        m_titlesChanged = false;
        applyTitles();
    }
    m_grid->resumeRedraw();
    if (m_suspended == 0 && m_pendingCurrentRow > 0) {
        const int row = m_pendingCurrentRow;
        m_pendingCurrentRow = 0;
        m_grid->setActiveCell(row, 1);
    }
}

void DataGridRecords::setCurrentRow(int row)
{
    // Selecting and scrolling once for a batch of rows, not once per row.
    if (m_suspended > 0)
        m_pendingCurrentRow = row;
    else
        m_grid->setActiveCell(row, 1);
}
