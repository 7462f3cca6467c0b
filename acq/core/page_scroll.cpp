#include "acq/core/page_scroll.h"

#include <QtGlobal>

std::optional<int> PageScroll::setValue(int value, int receivedCount)
{
    value = qBound(m_bar.minimum, value, qMax(m_bar.minimum, m_bar.maximum));
    if (value == m_bar.value)
        return std::nullopt;
    m_bar.value = value;
    return valueChanged(receivedCount);
}

std::optional<int> PageScroll::valueChanged(int receivedCount)
{
    if (!m_bar.enabled)
        return std::nullopt;
    // In 64 bits: a value near the top of the range minus the negative base stays exact.
    qint64 d = qint64(m_bar.value) - qint64(m_bar.minimum);
    if (m_limit == Limit::ReceivedCount && d > receivedCount)
        d = receivedCount;
    if (d < 1)
        d = 1;
    m_pageStart = int(d);
    m_pageEnd = m_pagePoints + m_pageStart - 1;
    return m_pageStart;
}

PageScroll::Rebuild PageScroll::rebuild(int pointCount, int firstIndex, int pagePoints,
                                        int cursorRow, int receivedCount)
{
    Rebuild result;
    const int n = pointCount;
    m_pageStart = firstIndex + 1;
    m_pagePoints = m_pageEnd = pagePoints;
    if (n >= m_pagePoints) {
        const int minimum = PageMath::kScrollBase;
        const int maximum = n > m_pagePoints ? minimum + (n - m_pagePoints) : minimum + n;
        m_bar.minimum = minimum;
        m_bar.maximum = maximum;
        if (m_pagePoints < 1)
            m_pagePoints = 1;
        m_bar.largeChange = m_pagePoints;
        if (m_pagePoints > maximum - minimum + 1)
            m_bar.largeChange = n == m_pagePoints ? 1 : n - m_pagePoints;
        m_bar.smallChange = 1;
        int value = minimum;
        if (cursorRow >= m_pagePoints)
            value = minimum + cursorRow - m_pagePoints;
        else if (cursorRow > 1 && cursorRow < m_pagePoints)
            value = minimum + cursorRow - 1;
        // The value is set before the bar is enabled: after a run (bar disabled) this moves
        // nothing; after a change of the time range (bar enabled) the page follows the value.
        result.shown = setValue(value, receivedCount);
        m_bar.enabled = true;
        result.fits = true;
    } else {
        result.shown = setValue(m_bar.minimum, receivedCount);
        m_bar.enabled = false;
    }
    return result;
}

std::optional<int> PageScroll::bringIntoPage(int row, int receivedCount)
{
    std::optional<int> shown;
    if (row > m_pageEnd) {
        m_pageEnd = row;
        m_pageStart = row - m_pagePoints + 1;
        if (m_bar.enabled) {
            const int span = m_bar.maximum - m_bar.minimum + 1;
            const int value = row >= span ? m_bar.maximum : m_bar.minimum + row - 1;
            if (const auto s = setValue(value, receivedCount))
                shown = s;
        }
    }
    if (row < m_pageStart) {
        m_pageStart = row;
        m_pageEnd = m_pagePoints + row - 1;
        if (m_bar.enabled) {
            const int value = row == 1 ? m_bar.minimum : m_bar.minimum + row - 1;
            if (const auto s = setValue(value, receivedCount))
                shown = s;
        }
    }
    return shown;
}

void PageScroll::setFirstPage(int firstIndex, int pagePoints)
{
    m_pageStart = firstIndex;
    m_pageEnd = firstIndex + pagePoints;
}
