#pragma once

#include <QWidget>

class QScrollBar;
class TimeChart;

// The lower part of a data panel: the chart with its page scroll bar underneath, laid out by hand
// (sChgGraphScrollSize): the chart fills the pane but for the scroll bar's height, the scroll bar
// spans the full width at the bottom. Nothing moves while the pane is too small for both.
class ChartPane : public QWidget
{
    Q_OBJECT
public:
    // chartName and barName become the controls' object names.
    ChartPane(const QString &chartName, const QString &barName, QWidget *parent = nullptr);

    TimeChart *chart() const { return m_chart; }
    QScrollBar *scrollBar() const { return m_bar; }

    // Lays out chart and scroll bar for the pane's current size.
    void sChgGraphScrollSize();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    TimeChart *m_chart;
    QScrollBar *m_bar;
};
