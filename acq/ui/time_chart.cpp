#include "acq/ui/time_chart.h"

#include "acq/core/axis_fit.h"
#include "acq/ui/time_axis_ticker.h"

#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kMinReplotMs = 40;   // at most 25 redraws a second
constexpr int kMaxReplotMs = 1000; // however slow a redraw, at least one a second
constexpr double kBarFraction = 0.6; // share of a point's space a bar fills: a clear gap remains

const QColor kLineColour(0, 64, 160);
const QColor kBarPen(0, 90, 120);
const QColor kBarFill(100, 180, 200);
const QColor kMarkerColour(220, 0, 0);
const QColor kGridColour(200, 200, 200);

bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

QPen pen(const QColor &colour, Qt::PenStyle style = Qt::SolidLine)
{
    QPen p(colour, 1, style);
    p.setCosmetic(true);
    return p;
}

// The chart library keeps a layer's buffer and a layerable's drawing for its own subclasses. The
// in-place redraw of the bars reaches them as a subclass would (never instantiated).
struct LayerAccess : QCPLayer
{
    static QSharedPointer<QCPAbstractPaintBuffer> buffer(const QCPLayer *layer)
    {
        return (layer->*(&LayerAccess::mPaintBuffer)).toStrongRef();
    }
};

struct LayerableAccess : QCPLayerable
{
    static QRect clipOf(const QCPLayerable *l) { return (l->*(&LayerableAccess::clipRect))(); }
    static void hintOn(const QCPLayerable *l, QCPPainter *p)
    {
        (l->*(&LayerableAccess::applyDefaultAntialiasingHint))(p);
    }
    static void drawOn(QCPLayerable *l, QCPPainter *p) { (l->*(&LayerableAccess::draw))(p); }
};

struct BarsAccess : QCPBars
{
    static QRectF barRect(const QCPBars *b, double key, double value)
    {
        return (b->*(&BarsAccess::getBarRect))(key, value);
    }
};

} // namespace

TimeChart::TimeChart(QWidget *parent)
    : QCustomPlot(parent), m_ticker(new TimeAxisTicker), m_page{kNaN, kNaN}, m_markerX(kNaN),
      m_replotGapMs(kMinReplotMs)
{
    setObjectName(QStringLiteral("TimeChart"));
    setAntialiasedElements(QCP::aeNone);
    setNotAntialiasedElements(QCP::aeAll);
    setNoAntialiasingOnDrag(true);
    setPlottingHint(QCP::phCacheLabels, true);
    setInteractions(QCP::Interactions());
    setBackground(Qt::white);

    xAxis->setTicker(m_ticker);
    for (QCPAxis *axis : {xAxis, yAxis, xAxis2, yAxis2}) {
        axis->setBasePen(pen(Qt::black));
        axis->setTickPen(pen(Qt::black));
        axis->setSubTickPen(pen(Qt::black));
        axis->grid()->setPen(pen(kGridColour));
        axis->grid()->setZeroLinePen(Qt::NoPen);
        axis->grid()->setSubGridVisible(false);
    }
    for (QCPAxis *axis : {xAxis2, yAxis2}) {
        axis->setTicks(false);
        axis->setTickLabels(false);
        axis->grid()->setVisible(false);
    }
    xAxis->setRange(0, 60);
    yAxis->setRange(0, 60);

    m_line = addGraph(xAxis, yAxis);
    m_line->setPen(pen(kLineColour));
    m_line->setLineStyle(QCPGraph::lsLine);
    m_line->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, kLineColour, 4));
    m_line->setAntialiased(false);
    m_line->setAntialiasedScatters(false);

    m_bars = new QCPBars(xAxis, yAxis);
    m_bars->setPen(pen(kBarPen));
    m_bars->setBrush(kBarFill);
    m_bars->setAntialiased(false);
    m_bars->setAntialiasedFill(false);
    m_bars->setVisible(false);

    m_marker = new QCPItemStraightLine(this);
    m_marker->setObjectName(QStringLiteral("X"));
    m_marker->setPen(pen(kMarkerColour));
    m_marker->setAntialiased(false);
    m_marker->setClipToAxisRect(true);
    m_marker->point1->setType(QCPItemPosition::ptPlotCoords);
    m_marker->point2->setType(QCPItemPosition::ptPlotCoords);
    m_marker->setVisible(false);

    // The series and the marker are drawn on a layer of their own, so a new point or a marker
    // move redraws that layer alone; the axes with their labels and the grid keep their drawing.
    m_dataLayer = m_line->layer();
    m_dataLayer->setMode(QCPLayer::lmBuffered);
    // The overlay layer (above the axes) holds nothing here: drawn with the axes, it needs no
    // buffer of its own to be put together at every paint.
    if (QCPLayer *overlay = layer(QStringLiteral("overlay")))
        overlay->setMode(QCPLayer::lmLogical);

    m_replotTimer.setSingleShot(true);
    connect(&m_replotTimer, &QTimer::timeout, this, &TimeChart::doReplot);
    connect(this, &QCustomPlot::afterReplot, this, &TimeChart::noteDataDrawn);

    iniDataNum(1, 1);
    setGridShown(true);
    applyFonts();
}

TimeChart::~TimeChart() = default;

// --- data -------------------------------------------------------------------------------------

void TimeChart::iniDataNum(int seriesCount, int pointsPerSeries)
{
    m_seriesCount = qBound(1, seriesCount, kSeriesMax);
    for (int s = 0; s < kSeriesMax; ++s)
        m_series[size_t(s)].reset(s < m_seriesCount ? pointsPerSeries : 0);
    m_markerIndex = 0;
    m_markerX = kNaN;
    placeMarker();
    rebuildPlotData();
    if (m_yFit && refreshPageExtent())
        applyY();
    requestReplot();
}

const ChartSeries &TimeChart::series(int s) const
{
    return m_series[size_t(s >= 1 && s <= m_seriesCount ? s - 1 : 0)];
}

void TimeChart::setPoint(int k, double x, double y)
{
    ChartSeries &s = m_series[0];
    const int before = s.pointCount();
    const double lastX = s.x(before);
    s.setPoint(k, x, y);
    // Appending in X order goes straight into the plot data; anything else rebuilds it.
    if (k == before + 1 && std::isfinite(x) && (!std::isfinite(lastX) || x > lastX))
        appendPlotPoint(x, y);
    else
        rebuildPlotData();
    const QCPRange yBefore = yAxis->range();
    if (m_yFit && k == before + 1)
        notePagePoint(x, y);
    else if (m_yFit && refreshPageExtent())
        applyY();
    updateAutoY();
    if (yAxis->range() == yBefore)
        requestDataReplot();
    else
        requestReplot();
}

void TimeChart::appendPlotPoint(double x, double y)
{
    if (!std::isfinite(x))
        return;
    m_line->data()->add(QCPGraphData(x, y)); // NaN breaks the line
    if (std::isfinite(y))
        m_bars->data()->add(QCPBarsData(x, y));
}

void TimeChart::rebuildPlotData()
{
    m_drawn.valid = false;
    m_line->data()->clear();
    m_bars->data()->clear();
    const ChartSeries &s = m_series[0];
    QVector<QCPGraphData> line;
    QVector<QCPBarsData> bars;
    line.reserve(s.pointCount());
    for (int k = 1; k <= s.pointCount(); ++k) {
        const double x = s.x(k);
        const double y = s.y(k);
        if (!std::isfinite(x))
            continue;
        line.append(QCPGraphData(x, y));
        if (std::isfinite(y))
            bars.append(QCPBarsData(x, y));
    }
    m_line->data()->add(line, false);
    m_bars->data()->add(bars, false);
}

// --- axes -------------------------------------------------------------------------------------

void TimeChart::setTimeBase(QDate base)
{
    m_ticker->setBaseDate(base);
    requestReplot();
}

QDate TimeChart::timeBase() const
{
    return m_ticker->baseDate();
}

void TimeChart::setTimeLabel(PageMath::TimeLabel label)
{
    m_ticker->setLabelForm(label);
    fitTickCount();
    requestReplot();
}

void TimeChart::resizeEvent(QResizeEvent *event)
{
    QCustomPlot::resizeEvent(event);
    fitTickCount();
}

int TimeChart::tickCountFor(int room) const
{
    const QFontMetrics metrics(xAxis->tickLabelFont());
    // A label of the current form with wide digits (23:58:58).
    const QString widest = m_ticker->label(86338);
    const int labelWidth = metrics.horizontalAdvance(widest) + 3 * metrics.averageCharWidth();
    return qBound(2, labelWidth > 0 ? room / labelWidth : 5, 6);
}

void TimeChart::fitTickCount()
{
    const int room = axisRect() && axisRect()->width() > 0 ? axisRect()->width() : width() - 60;
    const int count = tickCountFor(room);
    if (count != m_ticker->tickCount()) {
        m_ticker->setTickCount(count);
        requestReplot();
    }
}

PageMath::TimeLabel TimeChart::timeLabel() const
{
    return m_ticker->labelForm();
}

QString TimeChart::timeLabelAt(double x) const
{
    return m_ticker->label(x);
}

void TimeChart::setXWindow(double minimum, double maximum)
{
    if (!std::isfinite(minimum) || !std::isfinite(maximum))
        return;
    xAxis->setRange(minimum, maximum);
    if (m_yFit && refreshPageExtent())
        applyY();
    requestReplot();
}

QVector<double> TimeChart::xTicks()
{
    axisRect()->update(QCPLayoutElement::upPreparation); // the tick vectors of the current window
    return xAxis->tickVector();
}

QVector<QString> TimeChart::xTickLabels()
{
    axisRect()->update(QCPLayoutElement::upPreparation);
    return xAxis->tickVectorLabels();
}

double TimeChart::majorTickSpacing()
{
    const QVector<double> ticks = xTicks();
    if (ticks.size() >= 2)
        return ticks.at(1) - ticks.at(0);
    return m_ticker->stepFor(xAxis->range());
}

void TimeChart::setYTitle(const QString &title)
{
    yAxis->setLabel(title);
    requestReplot();
}

void TimeChart::setYFixed(double minimum, double maximum)
{
    m_yAuto = false;
    if (std::isfinite(minimum) && std::isfinite(maximum)) {
        m_yFixedLower = minimum;
        m_yFixedUpper = maximum;
    }
    applyY();
    requestReplot();
}

void TimeChart::setYAutoMaximum(double minimum)
{
    m_yAuto = true;
    m_yMinimum = minimum;
    applyY();
    requestReplot();
}

void TimeChart::updateAutoY()
{
    // The automatic maximum follows the whole run, unless a fitted page rules the axis.
    if (m_yAuto && !(m_yFit && std::isfinite(m_page.minimum)))
        applyY();
}

void TimeChart::setYFit(bool on)
{
    m_yFit = on;
    refreshPageExtent();
    applyY();
    requestReplot();
}

void TimeChart::applyY()
{
    if (m_yFit) {
        const std::optional<AxisFit::Range> r = AxisFit::tidyRange(m_page.minimum, m_page.maximum);
        if (r) {
            setYRange(r->lower, r->upper);
            return;
        }
    }
    if (m_yAuto) {
        const double top = PageMath::autoAxisMaximum(m_series[0].maximumY());
        setYRange(m_yMinimum, qMax(top, m_yMinimum + 1));
    } else {
        setYRange(m_yFixedLower, m_yFixedUpper);
    }
}

void TimeChart::setYRange(double lower, double upper)
{
    if (yAxis->range().lower != lower || yAxis->range().upper != upper) {
        yAxis->setRange(lower, upper);
        requestReplot();
    }
}

bool TimeChart::refreshPageExtent()
{
    const QCPRange w = xAxis->range();
    const ChartSeries::Extent e = m_series[0].extentY(w.lower, w.upper);
    const bool changed = !same(e.minimum, m_page.minimum) || !same(e.maximum, m_page.maximum);
    m_page = e;
    return changed;
}

void TimeChart::notePagePoint(double x, double y)
{
    const QCPRange w = xAxis->range();
    if (!std::isfinite(y) || !(x >= w.lower && x <= w.upper))
        return;
    bool changed = false;
    if (!(y >= m_page.minimum)) {
        m_page.minimum = y;
        changed = true;
    }
    if (!(y <= m_page.maximum)) {
        m_page.maximum = y;
        changed = true;
    }
    if (changed)
        applyY();
}

void TimeChart::renderTo(QCPPainter *painter, const QSize &size, const QString &xTitle)
{
    const QString shownTitle = xAxis->label();
    const int shownTicks = m_ticker->tickCount();
    xAxis->setLabel(xTitle);
    m_ticker->setTickCount(tickCountFor(size.width() - 60)); // as many as the picture has room for
    toPainter(painter, size.width(), size.height());
    m_ticker->setTickCount(shownTicks);
    xAxis->setLabel(shownTitle);
    // Drawing laid the chart out at the picture's size: lay it out again for the widget, so
    // mouse positions keep mapping onto the data as before.
    replot(QCustomPlot::rpQueuedRefresh);
}

// --- style ------------------------------------------------------------------------------------

void TimeChart::setBars(bool on)
{
    m_barsOn = on;
    m_bars->setVisible(on);
    m_line->setVisible(!on);
    requestReplot();
}

void TimeChart::setPointSpace(double space)
{
    if (std::isfinite(space) && space > 0)
        m_barSpace = space;
    requestReplot();
}

void TimeChart::updateStyleForDensity()
{
    const double span = xAxis->range().size();
    const double pixelsPerPoint = span > 0 ? m_barSpace * axisRect()->width() / span : 0;
    // Point marks only where they stand apart; a dense line is drawn as a line.
    const QCPScatterStyle::ScatterShape shape =
        pixelsPerPoint >= 6 ? QCPScatterStyle::ssDisc : QCPScatterStyle::ssNone;
    if (m_line->scatterStyle().shape() != shape)
        m_line->setScatterStyle(QCPScatterStyle(shape, kLineColour, 4));
    if (!m_barsOn)
        return;
    if (pixelsPerPoint >= 3) {
        // Wide enough for a gap of at least one pixel: a fixed share of the point's space.
        m_bars->setWidthType(QCPBars::wtPlotCoords);
        m_bars->setWidth(m_barSpace * kBarFraction);
        m_drawnBarWidth = pixelsPerPoint * kBarFraction;
    } else {
        // Dense data: one-pixel bars, which still leave gaps where there is room.
        m_bars->setWidthType(QCPBars::wtAbsolute);
        m_bars->setWidth(1);
        m_drawnBarWidth = 1;
    }
}

void TimeChart::setGridShown(bool show)
{
    m_grid = show;
    const Qt::PenStyle style = show ? Qt::SolidLine : Qt::NoPen;
    xAxis->grid()->setPen(pen(kGridColour, style));
    yAxis->grid()->setPen(pen(kGridColour, style));
    xAxis2->setVisible(show);
    yAxis2->setVisible(show);
    requestReplot();
}

// --- marker -----------------------------------------------------------------------------------

void TimeChart::setMarkerVisible(bool visible)
{
    m_markerShown = visible;
    placeMarker();
}

bool TimeChart::markerVisible() const
{
    return m_marker->visible();
}

bool TimeChart::setMarkerIndex(int k)
{
    if (!m_series[0].isPlotted(k))
        return false;
    m_markerIndex = k;
    m_markerX = m_series[0].x(k);
    placeMarker();
    return true;
}

void TimeChart::setMarkerValue(double x)
{
    if (!std::isfinite(x))
        return;
    m_markerIndex = 0;
    m_markerX = x;
    placeMarker();
}

void TimeChart::placeMarker()
{
    // A marker with no place (prepared data, an empty run) is never drawn.
    const bool placed = std::isfinite(m_markerX);
    if (placed) {
        m_marker->point1->setCoords(m_markerX, 0);
        m_marker->point2->setCoords(m_markerX, 1);
    }
    m_marker->setVisible(m_markerShown && placed);
    requestDataReplot();
}

// --- mouse ------------------------------------------------------------------------------------

double TimeChart::dataXAt(const QPointF &pos) const
{
    if (!axisRect()->rect().contains(pos.toPoint()))
        return kNaN;
    return xAxis->pixelToCoord(pos.x());
}

QPointF TimeChart::positionOf(double x, double y) const
{
    return {xAxis->coordToPixel(x), yAxis->coordToPixel(y)};
}

void TimeChart::mouseMoveEvent(QMouseEvent *event)
{
    QCustomPlot::mouseMoveEvent(event);
    if (event->buttons() != Qt::NoButton)
        Q_EMIT dataDragged(dataXAt(event->position()));
}

void TimeChart::mouseReleaseEvent(QMouseEvent *event)
{
    QCustomPlot::mouseReleaseEvent(event);
    Q_EMIT dataReleased(dataXAt(event->position()));
}

// --- redraw -----------------------------------------------------------------------------------

void TimeChart::requestReplot()
{
    m_axesDirty = true;
    requestDataReplot();
}

void TimeChart::requestDataReplot()
{
    m_dirty = true;
    if (!m_replotTimer.isActive()) {
        const qint64 since = m_lastReplot.isValid() ? m_lastReplot.elapsed() : m_replotGapMs;
        m_replotTimer.start(int(qBound(qint64(0), m_replotGapMs - since, m_replotGapMs)));
    }
}

void TimeChart::flushReplot()
{
    m_replotTimer.stop();
    doReplot();
}

void TimeChart::replotIfDue()
{
    if (m_replotTimer.isActive() && m_replotTimer.remainingTime() == 0)
        flushReplot();
}

void TimeChart::doReplot()
{
    if (!m_dirty)
        return;
    if (!isVisible())
        return; // drawn when shown
    m_dirty = false;
    const bool everything = m_axesDirty;
    m_axesDirty = false;
    updateStyleForDensity();
    QElapsedTimer clock;
    clock.start();
    if (everything || hasInvalidatedPaintBuffers()) {
        replot(QCustomPlot::rpQueuedRefresh);
    } else if (!drawDataInPlace()) {
        // The data layer draws inside the axis rect only (its series and marker are clipped to
        // it), so only that part of the chart is put together from the buffers again. The
        // layer's own request for the whole widget is held back (the attribute itself: turning
        // updates back on would ask for the whole widget again).
        setAttribute(Qt::WA_UpdatesDisabled, true);
        m_dataLayer->replot();
        setAttribute(Qt::WA_UpdatesDisabled, false);
        update(axisRect()->rect());
        noteDataDrawn();
    }
    ++m_replots;
    m_lastReplot.start();
    // A slow redraw (a very wide window) spaces the next one out, so drawing never takes more
    // than about half of the time.
    m_replotGapMs = qBound(qint64(kMinReplotMs), 2 * clock.elapsed(), qint64(kMaxReplotMs));
}

TimeChart::DataFrame TimeChart::dataFrame() const
{
    return DataFrame{m_barsOn,         m_line->scatterStyle().shape(), xAxis->range(),
                     yAxis->range(),   axisRect()->rect(),            m_bars->widthType(),
                     m_bars->width()};
}

void TimeChart::noteDataDrawn()
{
    m_drawn.valid = true;
    m_drawn.frame = dataFrame();
    m_drawn.barCount = m_bars->data()->size();
    m_drawn.pointCount = m_line->data()->size();
    m_drawn.markerX = m_marker->visible() ? m_markerX : kNaN;
}

bool TimeChart::drawDataInPlace()
{
    const int barCount = m_bars->data()->size();
    const int pointCount = m_line->data()->size();
    if (!m_drawn.valid || barCount < m_drawn.barCount || pointCount < m_drawn.pointCount
        || !(m_drawn.frame == dataFrame()))
        return false;
    const QSharedPointer<QCPAbstractPaintBuffer> buffer = LayerAccess::buffer(m_dataLayer);
    if (!buffer || buffer->invalidated())
        return false;

    // The columns to draw again, the whole height of the plot area with a margin for the pens.
    const QRect area = axisRect()->rect();
    QRegion columns;
    const auto addColumn = [&](double left, double right) {
        columns += QRect(QPoint(int(std::floor(left)) - 2, area.top() - 2),
                         QPoint(int(std::ceil(right)) + 2, area.bottom() + 2));
    };
    const double markerX = m_marker->visible() ? m_markerX : kNaN;
    if (!same(markerX, m_drawn.markerX)) {
        for (double x : {m_drawn.markerX, markerX}) {
            if (std::isfinite(x)) {
                const double px = xAxis->coordToPixel(x);
                addColumn(px, px);
            }
        }
    }
    if (m_barsOn) {
        for (int i = m_drawn.barCount; i < barCount; ++i) {
            const auto bar = m_bars->data()->at(i);
            const QRectF r = BarsAccess::barRect(m_bars, bar->key, bar->value);
            addColumn(r.left(), r.right());
        }
    } else if (pointCount > m_drawn.pointCount) {
        // From the last point drawn (the line now goes on from it) to the newest, with room for
        // the point marks.
        const double from = xAxis->coordToPixel(m_line->data()->at(qMax(0, m_drawn.pointCount - 1))->key);
        const double to = xAxis->coordToPixel(m_line->data()->at(pointCount - 1)->key);
        const double mark = m_line->scatterStyle().size() / 2 + 1;
        addColumn(std::min(from, to) - mark, std::max(from, to) + mark);
    }
    columns &= QRect(QPoint(0, 0), buffer->size());
    if (!columns.isEmpty()) {
        QCPPainter *painter = buffer->startPainting();
        if (!painter || !painter->isActive()) {
            delete painter;
            return false;
        }
        painter->setClipRegion(columns);
        painter->setCompositionMode(QPainter::CompositionMode_Source);
        painter->fillRect(columns.boundingRect(), Qt::transparent);
        painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
        // Each layerable as the layer draws it: clipped to its own rectangle, in layer order;
        // the bars are only those that reach into a column, in key order as the bars draw them.
        const QList<QCPLayerable *> children = m_dataLayer->children();
        for (QCPLayerable *child : children) {
            if (!child->realVisibility())
                continue;
            const QRect clip = LayerableAccess::clipOf(child).translated(0, -1);
            painter->save();
            painter->setClipRect(clip);
            painter->setClipRegion(columns, Qt::IntersectClip);
            LayerableAccess::hintOn(child, painter);
            if (child == m_bars) {
                painter->setBrush(m_bars->brush());
                painter->setPen(m_bars->pen());
                for (const QRect &c : columns) {
                    // Column by column, so bars drawn for one never cover later bars of another.
                    painter->setClipRect(clip);
                    painter->setClipRect(c, Qt::IntersectClip);
                    const double a = xAxis->pixelToCoord(c.left() - 3);
                    const double b = xAxis->pixelToCoord(c.right() + 3);
                    auto it = m_bars->data()->findBegin(std::min(a, b) - m_barSpace, false);
                    const auto end = m_bars->data()->findEnd(std::max(a, b) + m_barSpace, false);
                    for (; it != end; ++it) {
                        // A bar that stays clear of the column (with its pen) leaves it as it is.
                        const QRectF bar = BarsAccess::barRect(m_bars, it->key, it->value);
                        if (bar.adjusted(-2, -2, 2, 2).intersects(c))
                            painter->drawPolygon(bar);
                    }
                }
            } else if (child != m_line || !drawLineStretch(painter, columns)) {
                LayerableAccess::drawOn(child, painter);
            }
            painter->restore();
        }
        delete painter;
        buffer->donePainting();
        update(columns & area.adjusted(-1, -1, 1, 1));
    }
    m_drawn.barCount = barCount;
    m_drawn.pointCount = pointCount;
    m_drawn.markerX = markerX;
    ++m_inPlace;
    return true;
}

bool TimeChart::drawLineStretch(QCPPainter *painter, const QRegion &columns)
{
    const QSharedPointer<QCPGraphDataContainer> whole = m_line->data();
    if (whole->isEmpty() || columns.isEmpty() || m_line->scatterSkip() != 0)
        return false; // every n-th mark counts from the first point
    // Where points lie two or more to the pixel over the span drawn, the line draws each pixel's
    // points as one stroke from their lowest to their highest value. Those strokes start at whole
    // pixels, so a stretch that starts a few pixels early draws them alike, as long as the line
    // thins out its points for the stretch as it does for the whole.
    const auto thinned = [this](QCPGraphDataContainer::const_iterator begin,
                                QCPGraphDataContainer::const_iterator end) {
        if (!m_line->adaptiveSampling() || begin == end)
            return false;
        const double span = std::abs(xAxis->coordToPixel(begin->key)
                                     - xAxis->coordToPixel((end - 1)->key));
        return 2 * span + 2 < double(std::numeric_limits<int>::max())
            && int(end - begin) >= int(2 * span + 2);
    };
    // The line draws the points in the X window and one beyond it on each side.
    const QCPRange shown = xAxis->range();
    const auto shownBegin = whole->findBegin(shown.lower);
    const auto shownEnd = whole->findEnd(shown.upper);
    const bool wholeThinned = thinned(shownBegin, shownEnd);

    // The points whose lines, marks or strokes can reach into the columns: those inside them,
    // widened by the marks' size and a few pixels, and one more on each side (the line to the
    // next point crosses the columns).
    const QRect bounds = columns.boundingRect();
    const int reach = int(std::ceil(m_line->scatterStyle().size())) + 6;
    const double a = xAxis->pixelToCoord(bounds.left() - reach);
    const double b = xAxis->pixelToCoord(bounds.right() + reach);
    auto begin = whole->findBegin(std::min(a, b));
    auto end = whole->findEnd(std::max(a, b));
    if (begin != whole->constBegin())
        --begin;
    if (end != whole->constEnd())
        ++end;
    begin = std::max(begin, shownBegin);
    end = std::min(end, shownEnd);
    if (begin >= end)
        return true; // nothing of the line there
    if (thinned(begin, end) != wholeThinned)
        return false;

    if (!m_lineStretch)
        m_lineStretch.reset(new QCPGraphDataContainer);
    m_lineStretch->set(QVector<QCPGraphData>(begin, end), true);
    m_line->setData(m_lineStretch);
    LayerableAccess::drawOn(m_line, painter);
    m_line->setData(whole);
    m_lineStretch->clear();
    return true;
}

void TimeChart::showEvent(QShowEvent *event)
{
    QCustomPlot::showEvent(event);
    if (m_dirty)
        requestReplot();
}

void TimeChart::changeEvent(QEvent *event)
{
    QCustomPlot::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        applyFonts();
        requestReplot();
    }
}

void TimeChart::applyFonts()
{
    for (QCPAxis *axis : {xAxis, yAxis}) {
        axis->setTickLabelFont(font());
        axis->setLabelFont(font());
    }
}
