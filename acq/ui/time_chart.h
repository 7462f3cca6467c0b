#pragma once

#include "acq/core/chart_series.h"
#include "acq/core/page_math.h"

#include <QDate>
#include <QElapsedTimer>
#include <QTimer>
#include <array>
#include <qcustomplot.h>

class TimeAxisTicker;

// The chart of a data panel: four data series of which series 1 is drawn (as a line or as bars),
// a time X axis counted in seconds from midnight of its base date, a value Y axis, and the cursor
// marker "X", a vertical line attached either to a point of series 1 or to an X value.
//
// Holes are NaN: a point without a number interrupts the line (or has no bar). Pens are 1 pixel
// wide, nothing is antialiased, and drawing is coalesced: changes ask for a redraw that happens at
// most 25 times a second (less often when one redraw takes longer than 20 ms); a change that
// comes later than that after the last redraw is drawn in the same pass of the event loop.
class TimeChart : public QCustomPlot
{
    Q_OBJECT
public:
    static constexpr int kSeriesMax = 4;

    explicit TimeChart(QWidget *parent = nullptr);
    ~TimeChart() override;

    // Data: seriesCount series of pointsPerSeries holes each (at most kSeriesMax series).
    void iniDataNum(int seriesCount, int pointsPerSeries);
    int seriesCount() const { return m_seriesCount; }
    // Series 1..seriesCount; any other number gives series 1.
    const ChartSeries &series(int s) const;
    // Sets point k of series 1 (k becomes its last point).
    void setPoint(int k, double x, double y);

    // Time axis.
    void setTimeBase(QDate base);
    QDate timeBase() const;
    void setTimeLabel(PageMath::TimeLabel label);
    PageMath::TimeLabel timeLabel() const;
    QString timeLabelAt(double x) const;
    void setXWindow(double minimum, double maximum);
    QCPRange xWindow() const { return xAxis->range(); }
    // The major tick positions and labels for the current window, as the axis draws them.
    QVector<double> xTicks();
    QVector<QString> xTickLabels();
    // The spacing of the major ticks (and grid lines) the axis draws for the current window.
    double majorTickSpacing();

    // Value axis.
    void setYTitle(const QString &title);
    QString yTitle() const { return yAxis->label(); }
    void setYFixed(double minimum, double maximum);
    // Minimum fixed, maximum following the largest value of series 1.
    void setYAutoMaximum(double minimum);
    bool yAutoMaximum() const { return m_yAuto; }
    QCPRange yWindow() const { return yAxis->range(); }
    // Fit to data: while on, the value axis follows the samples inside the X window (the page on
    // display, AxisFit's tidy range); with no sample there, and when off, the fixed or automatic
    // range set above rules. Only a change of the page's smallest or largest value costs work.
    void setYFit(bool on);
    bool yFit() const { return m_yFit; }

    // Draws the chart `size` device-independent pixels large at the painter's origin, with
    // `xTitle` under the time axis (an exported picture); what the widget shows is unchanged.
    void renderTo(QCPPainter *painter, const QSize &size, const QString &xTitle);

    // Series 1 drawn as bars with a gap between neighbours, or as a line (with point marks where
    // the points stand apart). The space of one point is the X distance between samples.
    void setBars(bool bars);
    bool bars() const { return m_barsOn; }
    void setPointSpace(double space);
    double pointSpace() const { return m_barSpace; }
    // The bar width in pixels at the last redraw (0 before any).
    double drawnBarWidth() const { return m_drawnBarWidth; }

    // Grid lines of both axes solid or none, and the frame of the plot area with them.
    void setGridShown(bool show);
    bool gridShown() const { return m_grid; }

    // Marker "X".
    void setMarkerVisible(bool visible);
    bool markerVisible() const;
    // Attaches the marker to point k of series 1; refused (false, nothing changes) unless the
    // point carries a sample.
    bool setMarkerIndex(int k);
    // Attaches the marker to an X value.
    void setMarkerValue(double x);
    // The point the marker is attached to; 0 when attached by value or not attached.
    int markerIndex() const { return m_markerIndex; }
    double markerX() const { return m_markerX; }

    // The data X under a widget position; NaN outside the plot area.
    double dataXAt(const QPointF &pos) const;
    // The widget position of a data point (for tests and screenshots).
    QPointF positionOf(double x, double y) const;

    // Redraw: ask (coalesced), or do what was asked now.
    void requestReplot();
    void flushReplot();
    // The coalesced redraw, if it is due now.
    void replotIfDue();
    bool replotPending() const { return m_dirty; }
    int replotCount() const { return m_replots; }
    // How many of those redrew only the changed columns.
    int inPlaceCount() const { return m_inPlace; }

Q_SIGNALS:
    // The mouse moved with a button held / a button was released; x as dataXAt().
    void dataDragged(double x);
    void dataReleased(double x);

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void doReplot();
    // Redraws, in the data layer's buffer, just the columns that changed since it was last
    // drawn (new bars or line points, the marker's old and new place). False, with nothing drawn, when more
    // than that changed (window, range, size, style, rebuilt data): the whole layer is redrawn.
    bool drawDataInPlace();
    // What the data layer's buffer now shows.
    void noteDataDrawn();
    // Asks for a redraw of the data layer alone (points, bars, marker): the axes, grid and
    // titles stay as drawn.
    void requestDataReplot();
    void rebuildPlotData();
    void appendPlotPoint(double x, double y);
    void updateAutoY();
    // The value axis from the fit, the fixed range or the automatic maximum, in that order.
    void applyY();
    void setYRange(double lower, double upper);
    // The smallest and largest sample inside the X window, looked up again; true when changed.
    bool refreshPageExtent();
    // A new point (k was appended) inside the X window widens the page's extent.
    void notePagePoint(double x, double y);
    void updateStyleForDensity();
    void applyFonts();
    void placeMarker();
    // As many time ticks as the axis has room for without labels running into each other.
    void fitTickCount();
    int tickCountFor(int room) const;

    std::array<ChartSeries, kSeriesMax> m_series;
    int m_seriesCount = 1;
    QCPGraph *m_line = nullptr;
    QCPBars *m_bars = nullptr;
    bool m_barsOn = false;
    double m_barSpace = 1;
    double m_drawnBarWidth = 0;
    QSharedPointer<TimeAxisTicker> m_ticker;
    bool m_yAuto = false;
    double m_yMinimum = 0;
    double m_yFixedLower = 0;
    double m_yFixedUpper = 60;
    bool m_yFit = false;
    ChartSeries::Extent m_page;
    bool m_grid = true;
    QCPItemStraightLine *m_marker = nullptr;
    bool m_markerShown = false;
    int m_markerIndex = 0;
    double m_markerX;
    QTimer m_replotTimer;
    QCPLayer *m_dataLayer = nullptr;
    bool m_axesDirty = true; // the next redraw draws everything, not the data layer alone
    // What places the data on the plot area: while it stays, new points and a marker move can be
    // drawn in place.
    struct DataFrame
    {
        bool bars = false;
        QCPScatterStyle::ScatterShape marks = QCPScatterStyle::ssNone;
        QCPRange x;
        QCPRange y;
        QRect area;
        QCPBars::WidthType widthType = QCPBars::wtPlotCoords;
        double width = 0;
        bool operator==(const DataFrame &o) const
        {
            return bars == o.bars && marks == o.marks && x == o.x && y == o.y && area == o.area
                && widthType == o.widthType && width == o.width;
        }
    };
    DataFrame dataFrame() const;
    struct DrawnData
    {
        bool valid = false;
        DataFrame frame;
        int barCount = 0;
        int pointCount = 0;
        double markerX = 0; // NaN: no marker drawn
    };
    DrawnData m_drawn;
    // The line's points that reach into the columns drawn in place, drawn in place of the whole
    // line; empty between draws.
    QSharedPointer<QCPGraphDataContainer> m_lineStretch;
    // Draws the part of the line that reaches into `columns` (pixels), as the line draws it
    // whole; false when that part could be drawn otherwise (the line then draws whole).
    bool drawLineStretch(QCPPainter *painter, const QRegion &columns);
    QElapsedTimer m_lastReplot;
    qint64 m_replotGapMs; // the shortest time between two redraws
    bool m_dirty = false;
    int m_replots = 0;
    int m_inPlace = 0;
};
