#include "acq/ui/panel_display.h"

#include "acq/core/app_state.h"
#include "acq/ui/data_panel.h"
#include "acq/ui/time_chart.h"
#include "common/core/date_days.h"

PanelDisplay::PanelDisplay(AppState &state, QWidget *widgetParent)
    : QObject(widgetParent), m_state(state),
      m_velocity(new DataPanel(state, Panel::Velocity, widgetParent)),
      m_flow(new DataPanel(state, Panel::Flow, widgetParent)),
      m_today([] { return QDate::currentDate(); })
{
    setObjectName(QStringLiteral("panelDisplay"));
}

DataPanel *PanelDisplay::panel(Panel which) const
{
    return which == Panel::Velocity ? m_velocity : m_flow;
}

void PanelDisplay::smIniGraph()
{
    smIniGraphDataNum(Panel::Velocity, 4, 1);
    smIniGraphDataNum(Panel::Flow, 4, 1);
    smSetGraphYAxiesTitile();
    smGraphAxiesUnit(Panel::Velocity);
    smGraphAxiesUnit(Panel::Flow);
    smGraphXAexs(Panel::Velocity);
    smGraphXAexs(Panel::Flow);
    sSetGraphYAxies();
    sShowGraphMark(Panel::Velocity, false);
    sShowGraphMark(Panel::Flow, false);
    smSetGraphGrid(true);
}

void PanelDisplay::sChgGraphScrollSize()
{
    m_velocity->sChgGraphScrollSize();
    m_flow->sChgGraphScrollSize();
}

void PanelDisplay::sScrollBarG(Panel which, bool enable)
{
    panel(which)->sScrollBarG(enable);
}

void PanelDisplay::smIniGraphDataNum(Panel which, int seriesCount, int pointsPerSeries)
{
    panel(which)->iniDataNum(seriesCount, pointsPerSeries);
}

void PanelDisplay::smSetGraphYAxiesTitile()
{
    m_velocity->setYTitle();
    m_flow->setYTitle();
}

void PanelDisplay::smSetWCGraphBarSize()
{
    m_flow->setBarSize();
}

void PanelDisplay::smGraphAxiesUnit(Panel which)
{
    // A run measured now counts its time from today; a saved run opened, from its own start date
    // (otherwise a run of more than a day would show today's dates).
    const bool opened = !m_state.openedRunPath.isEmpty() && m_state.idle == 1;
    panel(which)->setAxesUnit(opened ? DateDays::toDateTime(m_state.startTime).date() : m_today());
}

void PanelDisplay::sSetGraphYAxies()
{
    m_velocity->setYAxis();
    m_flow->setYAxis();
}

void PanelDisplay::smSetGraphGrid(bool show)
{
    m_velocity->setGrid(show);
    m_flow->setGrid(show);
}

void PanelDisplay::smGraphXAexs(Panel which)
{
    panel(which)->smGraphXAexs();
}

void PanelDisplay::sGraphData(Panel which, const SampleTable &table, int n, double startSecond)
{
    if (n >= 1)
        panel(which)->graphData(table, n, startSecond);
}

void PanelDisplay::sGraphShift(Panel which, int n, double startSecond)
{
    if (n >= 1)
        panel(which)->graphShift(n, startSecond);
}

void PanelDisplay::smInitTableTitle()
{
    m_velocity->initTableTitle();
    m_flow->initTableTitle();
}

void PanelDisplay::clearTablesForRun()
{
    m_velocity->clearTableForRun();
    m_flow->clearTableForRun();
}

void PanelDisplay::sSetWSTableData(const SampleTable &table, int n, double startDateTime)
{
    m_velocity->appendRows(table, n, startDateTime);
}

void PanelDisplay::sSetWCTableData(const SampleTable &table, int n)
{
    m_flow->appendRows(table, n, 0);
}

void PanelDisplay::drawDue()
{
    for (DataPanel *p : {m_velocity, m_flow})
        p->drawDue();
}

void PanelDisplay::setTableBrowsing(Panel which)
{
    panel(which)->setTableBrowsing();
}

int PanelDisplay::tableActiveRow(Panel which) const
{
    return panel(which)->activeRow();
}

void PanelDisplay::sShowGraphMark(Panel which, bool show)
{
    panel(which)->sShowGraphMark(show);
}

void PanelDisplay::resetScrollBarsForRun()
{
    const int minimum = m_velocity->scrollMinimum();
    m_velocity->setScrollValue(minimum);
    m_flow->setScrollValue(minimum);
    m_velocity->sScrollBarG(false);
    m_flow->sScrollBarG(false);
}

void PanelDisplay::sSetCursorPosition(Panel which)
{
    panel(which)->sSetCursorPosition();
}

void PanelDisplay::sInitHcrollBar(Panel which, int cursorRow)
{
    panel(which)->sInitHcrollBar(cursorRow);
}
