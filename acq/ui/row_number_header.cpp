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
