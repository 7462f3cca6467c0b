#include "common/ui/data_grid.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

DataGrid::DataGrid(QWidget *parent) : QTableView(parent), m_model(new GridModel(this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
    setSelectionColours(QColor(0, 64, 128), Qt::white);
    fitRowHeightToFont();
}

void DataGrid::suspendRedraw()
{
    if (m_suspended++ == 0) {
        m_model->holdNotifications(true);
        setUpdatesEnabled(false);
    }
}

void DataGrid::resumeRedraw()
{
    if (m_suspended == 0)
        return;
    if (--m_suspended == 0) {
        m_model->holdNotifications(false);
        setUpdatesEnabled(true);
    }
}

void DataGrid::setGridRowHidden(int row, bool hidden)
{
    if (row >= 1 && row <= m_model->gridRowCount())
        setRowHidden(row - 1, hidden);
}

bool DataGrid::isGridRowHidden(int row) const
{
    return row >= 1 && row <= m_model->gridRowCount() && isRowHidden(row - 1);
}

void DataGrid::setGridColumnHidden(int column, bool hidden)
{
    if (column >= 1 && column <= m_model->gridColumnCount())
        setColumnHidden(column - 1, hidden);
}

bool DataGrid::isGridColumnHidden(int column) const
{
    return column >= 1 && column <= m_model->gridColumnCount() && isColumnHidden(column - 1);
}

void DataGrid::setActiveCell(int row, int column)
{
    if (row < 1 || row > m_model->gridRowCount() || m_model->gridColumnCount() < 1)
        return;
    column = qBound(1, column, m_model->gridColumnCount());
    const QModelIndex i = m_model->index(row - 1, column - 1);
    setCurrentIndex(i); // selects the row (row selection)
    scrollTo(i, QAbstractItemView::EnsureVisible);
}

int DataGrid::activeRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

void DataGrid::setSelectionColours(const QColor &background, const QColor &text)
{
    QPalette p = palette();
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Highlight, background);
        p.setColor(g, QPalette::HighlightedText, text);
    }
    setPalette(p);
}

QColor DataGrid::selectionBackground() const
{
    return palette().color(QPalette::Active, QPalette::Highlight);
}

QColor DataGrid::selectionText() const
{
    return palette().color(QPalette::Active, QPalette::HighlightedText);
}

void DataGrid::fitRowHeightToFont()
{
    const int h = fontMetrics().height() + 6;
    verticalHeader()->setMinimumSectionSize(qMin(h, 12));
    verticalHeader()->setDefaultSectionSize(h);
}

void DataGrid::keyPressEvent(QKeyEvent *event)
{
    Q_EMIT keyDown(event->key(), event->isAutoRepeat());
    QTableView::keyPressEvent(event);
}

void DataGrid::keyReleaseEvent(QKeyEvent *event)
{
    QTableView::keyReleaseEvent(event);
    Q_EMIT keyUp(event->key(), event->isAutoRepeat());
}

void DataGrid::mouseMoveEvent(QMouseEvent *event)
{
    QTableView::mouseMoveEvent(event);
    Q_EMIT mouseMoved(event->buttons());
}

void DataGrid::mouseReleaseEvent(QMouseEvent *event)
{
    QTableView::mouseReleaseEvent(event);
    Q_EMIT mouseReleased();
}

void DataGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitRowHeightToFont();
}
