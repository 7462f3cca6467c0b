#pragma once

#include <QString>
#include <QtGlobal>

class SampleTable;

// The two data panels of ventacq: velocity ("WS") and flow rate ("WC").
enum class Panel { Velocity = 0, Flow = 1 };

// What the run control asks of the tables, charts and page scroll bars. The main window's two
// panels implement it; tests record the calls. The run control calls these in a fixed order at
// the start of a run, on every poll that brought samples, and at the stop.
class RunDisplay
{
public:
    virtual ~RunDisplay() = default;

    // Charts.
    virtual void smIniGraphDataNum(Panel panel, int seriesCount, int pointsPerSeries) = 0;
    virtual void smSetGraphYAxiesTitile() = 0;
    virtual void smSetWCGraphBarSize() = 0;
    virtual void smGraphAxiesUnit(Panel panel) = 0;
    virtual void sSetGraphYAxies() = 0;
    virtual void smSetGraphGrid(bool show) = 0;
    virtual void smGraphXAexs(Panel panel) = 0;
    // sWSGraphData / sWCGraphData and the forward jump sWSGraphShift / sWCGraphShift.
    virtual void sGraphData(Panel panel, const SampleTable &table, int n, double startSecond) = 0;
    virtual void sGraphShift(Panel panel, int n, double startSecond) = 0;

    // Tables.
    virtual void smInitTableTitle() = 0;
    // Both tables to zero rows, selection background white (start of a run).
    virtual void clearTablesForRun() = 0;
    virtual void sSetWSTableData(const SampleTable &table, int n, double startDateTime) = 0;
    virtual void sSetWCTableData(const SampleTable &table, int n) = 0;
    // Tables and charts whose redraw is due now are drawn at once, so that a batch reaches the
    // screen in one pass with the status bar, not in a pass of their own.
    virtual void drawDue() {}
    // Browsing state at the stop: a row when there is none, the last row current and static,
    // the last two rows white, selection (0, 64, 128) on white text.
    virtual void setTableBrowsing(Panel panel) = 0;
    virtual int tableActiveRow(Panel panel) const = 0;

    // Paging and cursor.
    virtual void sShowGraphMark(Panel panel, bool show) = 0;
    // Both page scroll bars to the velocity bar's minimum, then disabled (sScrollBarG false).
    virtual void resetScrollBarsForRun() = 0;
    virtual void sSetCursorPosition(Panel panel) = 0;
    virtual void sInitHcrollBar(Panel panel, int cursorRow) = 0;
};

// What the run control asks of the status bar and the commands (the main window).
class RunStatusView
{
public:
    virtual ~RunStatusView() = default;

    virtual void sInitiStatusBar() = 0;
    virtual void sShowPrgStat() = 0;
    virtual void sShowDataStat() = 0;
    virtual void sShowMenuStat() = 0;
    virtual void sShowMeasuParam(qint32 count) = 0;
    // The main window's caption (the save functions put the current file's name in it).
    virtual void setCaption(const QString &caption) = 0;
};
