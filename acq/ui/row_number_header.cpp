#include "acq/ui/row_number_header.h"

#include <QStyle>
#include <QStyleOptionHeader>

RowNumberHeader::RowNumberHeader(QWidget *parent) : QHeaderView(Qt::Vertical, parent) {}

QSize RowNumberHeader::sizeHint() const
{
    // At least three digits, so the column does not change width while a run starts.
    const int digits = qMax(3, int(QString::number(count()).size()));
    if (digits != m_digits || font() != m_font) {
        QStyleOptionHeader option;
        initStyleOption(&option);
        const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, &option, this);
        m_width = fontMetrics().horizontalAdvance(QString(digits, QLatin1Char('0'))) + 2 * margin + 2;
        m_digits = digits;
        m_font = font();
    }
    return {m_width, defaultSectionSize()};
}

void RowNumberHeader::sectionsInserted(const QModelIndex &parent, int logicalFirst, int logicalLast)
{
    QWidget *labels = viewport();
    const bool atEnd = !parent.isValid() && logicalFirst == count();
    if (!atEnd || !labels->updatesEnabled()) {
        QHeaderView::sectionsInserted(parent, logicalFirst, logicalLast);
        return;
    }
    // The stock slot ends with a redraw of every label; updates are held while it runs (the
    // attribute itself: switching updates back on would ask for that redraw again).
    labels->setAttribute(Qt::WA_UpdatesDisabled, true);
    QHeaderView::sectionsInserted(parent, logicalFirst, logicalLast);
    labels->setAttribute(Qt::WA_UpdatesDisabled, false);
    const int top = qMax(0, sectionViewportPosition(logicalFirst));
    if (top < labels->height())
        labels->update(QRect(0, top, labels->width(), labels->height() - top));
}
