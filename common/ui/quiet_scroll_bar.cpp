#include "common/ui/quiet_scroll_bar.h"

#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace {
// The raster engine hands a fill of 96 rows or more to its thread pool, in pieces of 64; the bar is
// drawn in bands just short of that, so its drawing stays on this thread. Each band draws the
// whole control clipped, so the fewer bands the better.
constexpr int kBandRows = 95;
} // namespace

QuietScrollBar::QuietScrollBar(Qt::Orientation orientation, QWidget *parent)
    : QScrollBar(orientation, parent)
{
}

QuietScrollBar::Look QuietScrollBar::look() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    Look l;
    l.handle = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    l.atMinimum = value() == minimum();
    l.atMaximum = value() == maximum();
    return l;
}

void QuietScrollBar::sliderChange(SliderChange change)
{
    // Orientation changes and drags go the usual way; so does a bar not drawn yet.
    const bool quiet = (change == SliderRangeChange || change == SliderValueChange
                        || change == SliderStepsChange)
        && m_haveDrawn && !isSliderDown();
    if (!quiet) {
        QScrollBar::sliderChange(change);
        return;
    }
    // A new row changes the range, then the value: the look is compared once both are done
    // (in the same pass of the event loop).
    if (m_checkQueued)
        return;
    m_checkQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_checkQueued = false;
            const Look now = look();
            if (now == m_drawn)
                return;
            // With the same ends, only the handle moved or changed size: the part of the bar
            // it left and the part it now covers are drawn again (with a margin for the
            // style's edges).
            if (now.atMinimum == m_drawn.atMinimum && now.atMaximum == m_drawn.atMaximum
                && !now.handle.isEmpty() && !m_drawn.handle.isEmpty())
                update(now.handle.united(m_drawn.handle).adjusted(-2, -2, 2, 2) & rect());
            else
                update();
        },
        Qt::QueuedConnection);
}

void QuietScrollBar::paintEvent(QPaintEvent *event)
{
    m_drawn = look();
    m_haveDrawn = true;
    ++m_paints;
    // Hovered or pressed parts are drawn by QScrollBar, which knows which part it is.
    if (underMouse() || isSliderDown()) {
        QScrollBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_All;
    option.activeSubControls = QStyle::SC_None;
    // Bands across the bar's length (the style may draw a horizontal bar turned on its side).
    const QRect area = event->rect();
    const bool vertical = orientation() == Qt::Vertical;
    // The bands lie at the same places whatever part is redrawn: a part drawn again matches the
    // whole bar drawn at once to the pixel (the handle's shading differs with the band edges).
    const int start = vertical ? area.top() : area.left();
    const int from = start - start % kBandRows;
    const int to = vertical ? area.bottom() : area.right();
    for (int at = from; at <= to; at += kBandRows) {
        const int length = qMin(kBandRows, to - at + 1);
        painter.setClipRect(vertical ? QRect(area.left(), at, area.width(), length)
                                     : QRect(at, area.top(), length, area.height()));
        style()->drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, this);
    }
}
