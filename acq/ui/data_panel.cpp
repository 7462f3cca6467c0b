#include "acq/ui/data_panel.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"
#include "acq/core/page_math.h"
#include "acq/core/sample_table.h"
#include "acq/core/sample_time_stamp.h"
#include "acq/ui/chart_pane.h"
#include "acq/ui/row_number_header.h"
#include "acq/ui/time_chart.h"
#include "common/core/number_format.h"
#include "common/ui/data_grid.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <cmath>

const QColor DataPanel::kHighlight(100, 180, 200);
const QColor DataPanel::kSelection(0, 64, 128);

namespace {

constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

QString unitCaption(const QString *names, int size, int index)
{
    return index >= 0 && index < size ? names[index] : QString();
}

QString trimmedRight(QString text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    text.truncate(end);
    return text;
}

} // namespace

DataPanel::DataPanel(AppState &state, Panel which, QWidget *widgetParent)
    : QObject(widgetParent), m_state(state), m_which(which),
      m_scroll(which == Panel::Velocity ? PageScroll::Limit::ReceivedCount : PageScroll::Limit::None)
{
    const bool velocity = which == Panel::Velocity;
    setObjectName(velocity ? QStringLiteral("velocityPanel") : QStringLiteral("flowPanel"));
    m_table = new DataGrid(widgetParent);
    {
        // Same settings as the grid's own row header, without its per-row measuring.
        QHeaderView *stock = m_table->verticalHeader();
        auto *rows = new RowNumberHeader(m_table);
        rows->setSectionResizeMode(QHeaderView::Fixed);
        rows->setDefaultAlignment(stock->defaultAlignment());
        rows->setMinimumSectionSize(stock->minimumSectionSize());
        rows->setDefaultSectionSize(stock->defaultSectionSize());
        rows->setHighlightSections(stock->highlightSections());
        m_table->setVerticalHeader(rows);
        // Scrolling by pixels: scrolling by rows walks every row above the view once a row is
        // hidden (the spare row always is), which grows with the run.
        m_table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    }
    m_table->setObjectName(velocity ? QStringLiteral("vaSpdWSTabl") : QStringLiteral("vaSpdWCTabl"));
    m_pane = new ChartPane(velocity ? QStringLiteral("Ch2dWSGraph") : QStringLiteral("Ch2dWCGraph"),
                           velocity ? QStringLiteral("hsbChgPageWS") : QStringLiteral("hsbChgPageWC"),
                           widgetParent);
    m_pane->setObjectName(velocity ? QStringLiteral("velocityChartPane")
                                   : QStringLiteral("flowChartPane"));

    m_tableRedraw.setSingleShot(true);
    connect(&m_tableRedraw, &QTimer::timeout, this, &DataPanel::flushTable);

    QScrollBar *bar = scrollBar();
    // The page moves when the thumb is let go, not while it is dragged.
    bar->setTracking(false);
    // The bar takes the focus when clicked; a key then hands it on to the table.
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->installEventFilter(this);
    syncScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &DataPanel::hsbChgPage_Change);

    connect(chart(), &TimeChart::dataDragged, this, &DataPanel::chartDragged);
    connect(chart(), &TimeChart::dataReleased, this, &DataPanel::chartReleased);
    connect(m_table, &DataGrid::keyDown, this, &DataPanel::tableKeyDown);
    connect(m_table, &DataGrid::keyUp, this, &DataPanel::tableKeyUp);
    connect(m_table, &DataGrid::mouseMoved, this, &DataPanel::tableMouseMoved);
    connect(m_table, &DataGrid::mouseReleased, this, &DataPanel::tableMouseReleased);
    // Every move of the cursor ends in the table's current row: one place to follow it.
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                Q_EMIT cursorMoved(current.isValid() ? current.row() + 1 : 0);
            });
}

TimeChart *DataPanel::chart() const
{
    return m_pane->chart();
}

QScrollBar *DataPanel::scrollBar() const
{
    return m_pane->scrollBar();
}

// --- helpers ----------------------------------------------------------------------------------

void DataPanel::sTableColor(DataGrid *grid, int col1, int row1, int col2, int row2,
                            const QColor &colour, int otherRow, const QColor &otherColour)
{
    GridModel *model = grid->grid();
    model->paintBlock(col1, row1, col2, row2, colour);
    if (otherRow > -1)
        model->paintBlock(col1, otherRow, col2, otherRow, otherColour);
}

void DataPanel::sActiveRow(DataGrid *grid, int row)
{
    grid->setActiveCell(row, 1);
}

bool DataPanel::idleWithData() const
{
    return m_state.idle == 1 && m_state.dataState != 1;
}

int DataPanel::pagePoints() const
{
    return PageMath::pagePoints(m_state.velXRange, m_state.sampleTime);
}

double &DataPanel::origin() const
{
    return m_which == Panel::Velocity ? m_state.velXPosition : m_state.flowXPosition;
}

// --- table ------------------------------------------------------------------------------------

bool DataPanel::hasAtmosphereColumn() const
{
    const int base = m_which == Panel::Velocity ? 2 : 1;
    return m_table->grid()->gridColumnCount() > base;
}

void DataPanel::initTableTitle()
{
    flushTable();
    const bool atm = m_state.atmEnable >= 1 && m_state.atmDisplay >= 1;
    const bool velocity = m_which == Panel::Velocity;
    const Texts &t = m_state.texts;
    QStringList headers;
    if (velocity) {
        headers << t.value(acqid::kFixedDateTimeHeader)
                << t.value(acqid::kFixedVelocityHeader)
                       + unitCaption(m_state.velocityUnitNames.data(),
                                     int(m_state.velocityUnitNames.size()), m_state.velocityUnit)
                       + t.value(acqid::kFixedCloseParen);
    } else {
        headers << t.value(acqid::kFixedFlowHeader)
                       + unitCaption(m_state.flowUnitNames.data(), int(m_state.flowUnitNames.size()),
                                     m_state.flowUnit)
                       + t.value(acqid::kFixedCloseParen);
    }
    if (atm)
        headers << t.value(acqid::kFixedAtmHeader);

    m_table->suspendRedraw();
    GridModel *model = m_table->grid();
    model->setGridColumnCount(int(headers.size()));
    model->setHeaderTexts(headers);
    for (int c = 1; c <= model->gridColumnCount(); ++c)
        model->setColumnAlignment(c, kRight);
    if (velocity)
        model->setColumnAlignment(1, kCentre);

    // Widths from the texts the columns hold; the columns keep them when the pane is wider.
    m_table->horizontalHeader()->setStretchLastSection(false);
    const QFontMetrics fm(m_table->font());
    const int pad = fm.horizontalAdvance(QLatin1Char('0')) * 2;
    QStringList samples;
    if (velocity)
        samples << QStringLiteral("0000-00-00 00:00:00:000") << QStringLiteral("00000.00");
    else
        samples << QStringLiteral("000000.000");
    if (atm)
        samples << QStringLiteral("0000");
    for (int c = 0; c < headers.size(); ++c) {
        const int w = qMax(fm.horizontalAdvance(headers.at(c)),
                           fm.horizontalAdvance(samples.value(c)));
        m_table->horizontalHeader()->resizeSection(c, w + pad);
    }
    m_table->resumeRedraw();
}

void DataPanel::clearTableForRun()
{
    m_tableRedraw.stop();
    m_pending.clear();
    m_table->grid()->setGridRowCount(0);
    // The grid's own selection disappears while a run fills the table.
    m_table->setSelectionColours(Qt::white, Qt::black);
}

void DataPanel::appendRows(const SampleTable &table, int n, double startDateTime)
{
    if (n < 1)
        return;
    const bool velocity = m_which == Panel::Velocity;
    const bool atm = hasAtmosphereColumn();
    const int base = m_state.receivedCount;
    if (!m_pending.empty() && base != m_pendingBase + int(m_pending.size()))
        flushTable(); // not a continuation of the waiting rows
    if (m_pending.empty())
        m_pendingBase = base;
    for (int i = 1; i <= n; ++i) {
        const int k = base + i;
        PendingRow row;
        int c = 0;
        if (velocity) {
            row.cells[c++] = fSampleTimeStamp(m_state.sampleTime, k, startDateTime);
            row.cells[c++] = table.cell(i, SampleTable::kVelocity);
        } else {
            row.cells[c++] = trimmedRight(table.cell(i, SampleTable::kFlow));
        }
        if (atm) {
            const QString flag = table.cell(i, SampleTable::kFlag);
            if (flag == QLatin1String("1") || flag == QLatin1String("2")) {
                row.cells[c] = NumberFormat::formatText(table.cell(i, SampleTable::kPressure),
                                                        QStringLiteral("####"));
            } else if (flag == QLatin1String("3")) {
                row.cells[c] = m_state.texts.value(acqid::kFixedAtmError);
            } else {
                const int id = m_state.languageOffset == 0 ? acqid::kFixedAtmNone
                                                           : acqid::kFixedAtmNoneLocal;
                row.cells[c] = m_state.texts.value(id);
                row.atmCentred = true;
            }
        }
        m_pending.push_back(std::move(row));
    }
    // At most 25 redraws a second: rows that come later than that after the last redraw are drawn
    // in the same pass of the event loop (no wake-up of their own 40 ms later).
    if (!m_tableRedraw.isActive()) {
        constexpr qint64 kGapMs = 40;
        const qint64 since = m_lastRedraw.isValid() ? m_lastRedraw.elapsed() : kGapMs;
        m_tableRedraw.start(int(qBound(qint64(0), kGapMs - since, kGapMs)));
    }
}

void DataPanel::flushTable()
{
    m_tableRedraw.stop();
    if (m_pending.empty())
        return;
    const bool velocity = m_which == Panel::Velocity;
    const int base = m_pendingBase;
    const int newest = base + int(m_pending.size());
    m_lastRedraw.start();

    // The model's change notices are held and sent as one for the rows touched, so only those
    // rows are drawn again (pausing the whole grid's updates would redraw all of it each time).
    GridModel *model = m_table->grid();
    model->holdNotifications(true);
    const int lastColumn = model->gridColumnCount();
    const bool atm = hasAtmosphereColumn();
    const int atmColumn = velocity ? 3 : 2;
    // The rows and the spare row in one insertion; the previous spare row becomes a data row.
    m_table->appendGridRows(newest + 1, true);
    for (int i = 0; i < int(m_pending.size()); ++i) {
        const int k = base + i + 1;
        PendingRow &row = m_pending[size_t(i)];
        if (velocity) {
            model->setCell(k, 1, row.cells[0], kCentre);
            model->setCell(k, 2, row.cells[1], kRight);
        } else {
            model->setCell(k, 1, row.cells[0], kRight);
        }
        if (atm)
            model->setCell(k, atmColumn, row.cells[atmColumn - 1], row.atmCentred ? kCentre : kRight);
    }
    m_pending.clear();
    // Only the newest row keeps the highlight; the rows before it and the previous newest row
    // are white again.
    sTableColor(m_table, 1, qMax(base, 1), lastColumn, newest + 1, Qt::white, newest, kHighlight);
    model->holdNotifications(false);
    sActiveRow(m_table, newest + 1);
    // The spare row is hidden, so the view is brought to the newest row itself.
    m_table->scrollTo(model->index(newest - 1, 0), QAbstractItemView::EnsureVisible);
}

void DataPanel::drawDue()
{
    if (m_tableRedraw.isActive() && m_tableRedraw.remainingTime() == 0)
        flushTable();
    chart()->replotIfDue();
}

void DataPanel::setTableBrowsing()
{
    flushTable();
    GridModel *model = m_table->grid();
    if (model->gridRowCount() == 0)
        model->setGridRowCount(1);
    const int last = model->gridRowCount();
    sActiveRow(m_table, last);
    sTableColor(m_table, 1, last - 1, model->gridColumnCount(), last, Qt::white, -1, Qt::white);
    m_table->setSelectionColours(kSelection, Qt::white);
}

int DataPanel::activeRow() const
{
    // Rows still waiting for the next redraw end with the spare row, which becomes active.
    if (!m_pending.empty())
        return m_pendingBase + int(m_pending.size()) + 1;
    return m_table->activeRow();
}

// --- chart ------------------------------------------------------------------------------------

void DataPanel::iniDataNum(int seriesCount, int pointsPerSeries)
{
    chart()->iniDataNum(seriesCount, pointsPerSeries);
}

void DataPanel::setAxesUnit(QDate base)
{
    chart()->setTimeBase(base);
    chart()->setPointSpace(double(m_state.sampleTime));
    chart()->setYFixed(chart()->yWindow().lower, chart()->yWindow().upper);
}

void DataPanel::setYTitle()
{
    const Texts &t = m_state.texts;
    QString title;
    if (m_which == Panel::Velocity) {
        title = t.value(acqid::kFixedVelocityAxis)
              + unitCaption(m_state.velocityUnitNames.data(), int(m_state.velocityUnitNames.size()),
                            m_state.velocityUnit);
    } else {
        title = t.value(acqid::kFixedFlowAxis)
              + unitCaption(m_state.flowUnitNames.data(), int(m_state.flowUnitNames.size()),
                            m_state.flowUnit);
    }
    chart()->setYTitle(title + t.value(acqid::kFixedCloseParen));
}

void DataPanel::setYAxis()
{
    if (m_which == Panel::Velocity)
        chart()->setYFixed(0, m_state.velYMax);
    else
        chart()->setYAutoMaximum(0);
    chart()->setYFit(m_state.yFitToData != 0);
}

void DataPanel::setBarSize()
{
    chart()->setBars(true);
    chart()->setPointSpace(double(m_state.sampleTime));
}

void DataPanel::setGrid(bool show)
{
    chart()->setGridShown(show);
}

void DataPanel::smGraphXAexs()
{
    const qint32 range = m_state.velXRange;
    chart()->setTimeLabel(PageMath::timeLabel(range));
    const PageMath::XWindow w = PageMath::xWindow(origin(), range, m_state.graphTimeStep);
    chart()->setXWindow(w.minimum, w.maximum);
}

void DataPanel::graphData(const SampleTable &table, int n, double startSecond)
{
    const int column = m_which == Panel::Velocity ? SampleTable::kVelocity : SampleTable::kFlow;
    for (int i = 1; i <= n; ++i) {
        const int k = m_state.receivedCount + i;
        const double x = PageMath::pointX(k, m_state.sampleTime, startSecond, m_state.graphTimeStep);
        chart()->setPoint(k, x, ChartSeries::valueOf(table.cell(i, column)));
    }
}

void DataPanel::graphShift(int n, double startSecond)
{
    const ChartSeries &s = chart()->series(1);
    const double newest = s.x(m_state.receivedCount + n);
    const double maximum = chart()->xWindow().upper;
    if (!(newest > maximum))
        return; // the grid spacing is only needed for a jump
    const auto w = PageMath::forwardJump(newest, maximum, s.pointCount(), pagePoints(),
                                         m_state.sampleTime, startSecond, m_state.graphTimeStep,
                                         chart()->majorTickSpacing(), m_state.velXRange);
    if (w)
        chart()->setXWindow(w->minimum, w->maximum);
}

// --- paging and cursor ------------------------------------------------------------------------

void DataPanel::showPage(int pageStart)
{
    // The window starts one interval before sample d; a page start beyond the points (never made
    // by the scroll bar's own range) reads the last point.
    const ChartSeries &s = chart()->series(1);
    const double x = s.x(qBound(1, pageStart, qMax(1, s.pointCount())));
    if (!std::isfinite(x))
        return;
    origin() = x - double(m_state.graphTimeStep);
    smGraphXAexs();
}

void DataPanel::syncScrollBar()
{
    const PageScroll::Bar &b = m_scroll.bar();
    QScrollBar *bar = scrollBar();
    const QSignalBlocker block(bar);
    bar->setRange(b.minimum, qMax(b.minimum, b.maximum));
    bar->setSingleStep(b.smallChange);
    bar->setPageStep(qMax(1, b.largeChange));
    bar->setValue(b.value);
    bar->setEnabled(b.enabled);
}

void DataPanel::sInitHcrollBar(int cursorRow)
{
    if (!idleWithData())
        return;
    const ChartSeries &s = chart()->series(1);
    const PageScroll::Rebuild r =
        m_scroll.rebuild(s.pointCount(), 1, pagePoints(), cursorRow, m_state.receivedCount);
    syncScrollBar();
    if (r.shown)
        showPage(*r.shown);
    if (!r.fits) {
        const double x1 = s.x(1);
        if (std::isfinite(x1)) {
            origin() = x1 - double(m_state.graphTimeStep);
            smGraphXAexs();
        }
    }
}

void DataPanel::sChgScrollPosition(int row)
{
    const auto shown = m_scroll.bringIntoPage(row, m_state.receivedCount);
    syncScrollBar();
    if (shown)
        showPage(*shown);
}

void DataPanel::sScrollBarG(bool enable)
{
    m_scroll.setEnabled(enable);
    syncScrollBar();
}

void DataPanel::setScrollValue(int value)
{
    const auto shown = m_scroll.setValue(value, m_state.receivedCount);
    syncScrollBar();
    if (shown)
        showPage(*shown);
}

void DataPanel::hsbChgPage_Change(int value)
{
    setScrollValue(value);
}

void DataPanel::sShowGraphMark(bool show)
{
    if (!show) {
        chart()->setMarkerVisible(false);
        return;
    }
    if (m_state.idle != 1)
        return;
    flushTable();
    chart()->setMarkerVisible(true);
    const int row = activeRow();
    if (row < 1)
        return; // no active row: nothing to show
    if (row < m_table->grid()->gridRowCount())
        sChgScrollPosition(row);
    // Only a point that carries a sample takes the marker: the hidden spare row leaves it where
    // it was, and a run without samples has none to show.
    chart()->setMarkerIndex(row);
}

void DataPanel::sSetCursorPosition()
{
    sActiveRow(m_table, 1);
    if (m_state.receivedCount >= 2) {
        const double x1 = chart()->series(1).x(1);
        if (std::isfinite(x1))
            origin() = x1 - double(m_state.graphTimeStep);
        m_scroll.setFirstPage(1, pagePoints());
    }
}

void DataPanel::sChgGraphScrollSize()
{
    m_pane->sChgGraphScrollSize();
}

// --- events -----------------------------------------------------------------------------------

void DataPanel::chartDragged(double x)
{
    if (!idleWithData())
        return;
    const ChartSeries &s = chart()->series(1);
    const PageMath::DragIndex d = PageMath::dragIndex(x, s.x(1), m_state.sampleTime,
                                                      s.plottedCount());
    if (d.moveMarker)
        chart()->setMarkerValue(x);
    if (d.index >= 1 && d.index <= s.plottedCount())
        sActiveRow(m_table, d.index); // the page does not follow while dragging
}

void DataPanel::chartReleased(double x)
{
    if (!idleWithData())
        return;
    const ChartSeries &s = chart()->series(1);
    const int idx = PageMath::releaseIndex(x, s.x(1), m_state.sampleTime, s.plottedCount());
    if (idx >= 1 && idx <= s.plottedCount()) {
        sActiveRow(m_table, idx);
        sShowGraphMark(true);
    }
}

void DataPanel::tableKeyDown(int key, bool)
{
    flushTable();
    if (key == Qt::Key_Up || key == Qt::Key_Down)
        sShowGraphMark(true);
}

void DataPanel::tableKeyUp(int key, bool autoRepeat)
{
    flushTable();
    if (autoRepeat)
        return; // a held key acts once, when it is let go
    const int row = activeRow();
    switch (key) {
    case Qt::Key_Left:
        if (row >= 2) {
            sActiveRow(m_table, row - 1);
            sShowGraphMark(true);
        }
        break;
    case Qt::Key_Right:
        if (row < m_table->grid()->gridRowCount()) {
            sActiveRow(m_table, row + 1);
            sShowGraphMark(true);
        }
        break;
    case Qt::Key_Up:
    case Qt::Key_Down:
        sShowGraphMark(true);
        break;
    default:
        break;
    }
}

void DataPanel::tableMouseMoved(Qt::MouseButtons buttons)
{
    flushTable();
    if (buttons != Qt::NoButton)
        sShowGraphMark(true);
}

void DataPanel::tableMouseReleased()
{
    flushTable();
    sShowGraphMark(true);
}

bool DataPanel::eventFilter(QObject *watched, QEvent *event)
{
    // Any key on the scroll bar hands the focus to the table, whose arrow keys move the cursor.
    // The event type is tested first: the filter also sees the events of the scroll bar's own
    // destruction, when the chart pane that owns it is already half destroyed.
    if (event->type() == QEvent::KeyPress && watched == scrollBar()) {
        m_table->setFocus(Qt::OtherFocusReason);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
