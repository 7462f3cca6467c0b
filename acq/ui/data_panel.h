#pragma once

#include "acq/core/page_scroll.h"
#include "acq/core/run_display.h"
#include "acq/ui/chart_pane.h"
#include "common/ui/data_grid.h"

#include <QColor>
#include <QDate>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <vector>

struct AppState;
class QScrollBar;
class QWidget;
class SampleTable;
class TimeChart;

// One data panel of ventacq: the table (vaSpdWSTabl / vaSpdWCTabl), the chart (Ch2dWSGraph /
// Ch2dWCGraph) and the page scroll bar (hsbChgPageWS / hsbChgPageWC) of the velocity or the
// flow-rate side, and what keeps table row, chart window and marker in step.
//
// The panel makes two widgets, the table and the chart pane (chart above its scroll bar), as
// children of the widget it is given; the main window places them where it likes (a splitter
// takes them over). The panel itself handles the table's keys and mouse, the chart's mouse and
// the scroll bar; the main window forwards nothing.
class DataPanel : public QObject
{
    Q_OBJECT
public:
    static const QColor kHighlight; // newest row during a run (100, 180, 200)
    static const QColor kSelection; // selection after a run (0, 64, 128)

    DataPanel(AppState &state, Panel which, QWidget *widgetParent);

    Panel which() const { return m_which; }
    DataGrid *table() const { return m_table; }
    ChartPane *chartPane() const { return m_pane; }
    TimeChart *chart() const;
    QScrollBar *scrollBar() const;
    const PageScroll &paging() const { return m_scroll; }

    // Grid helpers shared by both panels.
    // Paints col1..col2 x row1..row2 with colour, then columns col1..col2 of otherRow with
    // otherColour when otherRow > -1.
    static void sTableColor(DataGrid *grid, int col1, int row1, int col2, int row2,
                            const QColor &colour, int otherRow, const QColor &otherColour);
    // Makes column 1 of row the active cell: selected and scrolled into view.
    static void sActiveRow(DataGrid *grid, int row);

    // Table.
    bool hasAtmosphereColumn() const;
    void initTableTitle();
    void clearTableForRun();
    // sSetWSTableData / sSetWCTableData: n rows from the poll's table; startDateTime is used by the
    // velocity table's time stamps. The rows reach the grid at the next redraw (at most 25 a
    // second, all waiting rows in one step) or at flushTable(); activeRow() counts them already.
    void appendRows(const SampleTable &table, int n, double startDateTime);
    void flushTable();
    // The table and the chart, if their redraw is due now.
    void drawDue();
    void setTableBrowsing();
    int activeRow() const;

    // Chart.
    void iniDataNum(int seriesCount, int pointsPerSeries);
    void setAxesUnit(QDate base);
    void setYTitle();
    void setYAxis();
    void setBarSize();
    void setGrid(bool show);
    void smGraphXAexs();
    void graphData(const SampleTable &table, int n, double startSecond);
    void graphShift(int n, double startSecond);

    // Paging and cursor.
    void sInitHcrollBar(int cursorRow);
    void sChgScrollPosition(int row);
    void sScrollBarG(bool enable);
    void setScrollValue(int value);
    int scrollMinimum() const { return m_scroll.bar().minimum; }
    void sShowGraphMark(bool show);
    void sSetCursorPosition();
    void sChgGraphScrollSize();

    // Event handlers (connected by the panel; public for tests and benchmarks).
    void hsbChgPage_Change(int value);
    void chartDragged(double x);
    void chartReleased(double x);
    void tableKeyDown(int key, bool autoRepeat);
    void tableKeyUp(int key, bool autoRepeat);
    void tableMouseMoved(Qt::MouseButtons buttons);
    void tableMouseReleased();

Q_SIGNALS:
    // The cursor (the table's active row) moved to `row`, 0 for none: by a key, a click or drag
    // in the table or on the chart, or by the program (a new run, the stop, the newest row).
    void cursorMoved(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool idleWithData() const;
    int pagePoints() const;
    double &origin() const;
    void showPage(int pageStart);
    void syncScrollBar();

    AppState &m_state;
    Panel m_which;
    QPointer<DataGrid> m_table;
    QPointer<ChartPane> m_pane;
    PageScroll m_scroll;
    // Rows of the polls since the last redraw, shown together at most 25 times a second.
    struct PendingRow
    {
        QString cells[3];
        bool atmCentred = false;
    };
    std::vector<PendingRow> m_pending;
    int m_pendingBase = 0; // samples in the table before the first waiting row
    QTimer m_tableRedraw;
    QElapsedTimer m_lastRedraw; // since the rows last reached the grid
};
