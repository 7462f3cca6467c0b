#pragma once

#include "acq/core/run_display.h"

#include <QDate>
#include <QObject>
#include <functional>

struct AppState;
class DataPanel;
class QWidget;

// The display side of a measurement run over the two data panels (velocity and flow rate): what
// the run control calls at the start, on each poll and at the stop, and the window-level
// procedures of the panels (smIniGraph at load, sChgGraphScrollSize on every layout change,
// sInitHcrollBar after the graph parameters changed).
//
// The panels' widgets are made as children of widgetParent; see DataPanel for how to place them.
class PanelDisplay : public QObject, public RunDisplay
{
    Q_OBJECT
public:
    PanelDisplay(AppState &state, QWidget *widgetParent);

    DataPanel *panel(Panel which) const;
    DataPanel *velocity() const { return m_velocity; }
    DataPanel *flow() const { return m_flow; }

    // The date the time axes take as their base when set up (today by default).
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }

    // Both charts prepared at load: empty data, titles, time axes, windows, Y axes, markers
    // hidden, grid lines shown.
    void smIniGraph();
    // Chart and scroll bar laid out inside each chart pane.
    void sChgGraphScrollSize();
    // Page scroll bars of both panels enabled or disabled.
    void sScrollBarG(Panel which, bool enable);

    // RunDisplay.
    void smIniGraphDataNum(Panel which, int seriesCount, int pointsPerSeries) override;
    void smSetGraphYAxiesTitile() override;
    void smSetWCGraphBarSize() override;
    void smGraphAxiesUnit(Panel which) override;
    void sSetGraphYAxies() override;
    void smSetGraphGrid(bool show) override;
    void smGraphXAexs(Panel which) override;
    void sGraphData(Panel which, const SampleTable &table, int n, double startSecond) override;
    void sGraphShift(Panel which, int n, double startSecond) override;
    void smInitTableTitle() override;
    void clearTablesForRun() override;
    void sSetWSTableData(const SampleTable &table, int n, double startDateTime) override;
    void sSetWCTableData(const SampleTable &table, int n) override;
    void drawDue() override;
    void setTableBrowsing(Panel which) override;
    int tableActiveRow(Panel which) const override;
    void sShowGraphMark(Panel which, bool show) override;
    void resetScrollBarsForRun() override;
    void sSetCursorPosition(Panel which) override;
    void sInitHcrollBar(Panel which, int cursorRow) override;

private:
    AppState &m_state;
    DataPanel *m_velocity;
    DataPanel *m_flow;
    std::function<QDate()> m_today;
};
