#include "acq/ui/chart_pane.h"

#include "acq/ui/time_chart.h"
#include "common/ui/quiet_scroll_bar.h"

#include <QScrollBar>

ChartPane::ChartPane(const QString &chartName, const QString &barName, QWidget *parent)
    : QWidget(parent), m_chart(new TimeChart(this)), m_bar(new QuietScrollBar(Qt::Horizontal, this))
{
    m_chart->setObjectName(chartName);
    m_bar->setObjectName(barName);
    sChgGraphScrollSize();
}

void ChartPane::sChgGraphScrollSize()
{
    const int barHeight = m_bar->sizeHint().height();
    const int h = height() - barHeight;
    if (h < 1)
        return;
    m_chart->setGeometry(0, 0, width(), h);
    m_bar->setGeometry(0, h, width(), barHeight);
}

QSize ChartPane::sizeHint() const
{
    return {400, 240};
}

QSize ChartPane::minimumSizeHint() const
{
    return {120, m_bar->sizeHint().height() + 60};
}

void ChartPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    sChgGraphScrollSize();
}
