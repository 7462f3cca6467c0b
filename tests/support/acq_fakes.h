#pragma once

#include "acq/core/connection_probe.h"
#include "acq/core/file_dialog.h"
#include "acq/core/run_display.h"
#include "acq/core/sample_table.h"

#include <QStringList>
#include <deque>
#include <functional>

namespace venttest {

// ventacq's connection probe for tests: records the port it was asked about, runs `during` while
// it "probes" (as the real probe's event loop would) and answers `result`.
class FakeProbe : public ConnectionProbe
{
public:
    Result autoConnect(qint16 portNumber, const QString &portPath) override
    {
        ++calls;
        lastPort = portNumber;
        lastPath = portPath;
        if (during)
            during();
        return result;
    }
    Result result{-10000, 19200, {}};
    int calls = 0;
    qint16 lastPort = 0;
    QString lastPath;
    std::function<void()> during;
};

// A save and open dialog that hands out prepared answers (none left: cancelled) and records where it opened.
class ScriptedFileDialog : public FileDialog
{
public:
    Choice getSaveFileName(const QString &folder, const QVector<Filter> &filters) override
    {
        folders << folder;
        lastFilters = filters;
        if (answers.empty())
            return {};
        const Choice c = answers.front();
        answers.pop_front();
        return c;
    }
    // The open dialog takes its answers from the same queue.
    Choice getOpenFileName(const QString &folder, const QVector<Filter> &filters) override
    {
        return getSaveFileName(folder, filters);
    }
    std::deque<Choice> answers;
    QStringList folders;
    QVector<Filter> lastFilters;
};

// Records the calls of ventacq's run control to the tables, charts, status bar and menus, by name,
// and the values handed to the tables.
class RecordingDisplay : public RunDisplay, public RunStatusView
{
public:
    QStringList calls;
    QStringList velocityCells; // column 1 of every row handed to the velocity table
    QStringList flowCells;
    QString caption;

    void smIniGraphDataNum(Panel panel, int seriesCount, int pointsPerSeries) override
    {
        calls << QString("smIniGraphDataNum%1(%2,%3)").arg(suffix(panel)).arg(seriesCount).arg(pointsPerSeries);
    }
    void smSetGraphYAxiesTitile() override { calls << "smSetGraphYAxiesTitile"; }
    void smSetWCGraphBarSize() override { calls << "smSetWCGraphBarSize"; }
    void smGraphAxiesUnit(Panel panel) override { calls << "smGraphAxiesUnit" + suffix(panel); }
    void sSetGraphYAxies() override { calls << "sSetGraphYAxies"; }
    void smSetGraphGrid(bool show) override { calls << QString("smSetGraphGrid(%1)").arg(show); }
    void smGraphXAexs(Panel panel) override { calls << "smGraphXAexs" + suffix(panel); }
    void sGraphData(Panel panel, const SampleTable &, int n, double startSecond) override
    {
        calls << QString("sGraphData%1(%2,%3)").arg(suffix(panel)).arg(n).arg(startSecond);
    }
    void sGraphShift(Panel panel, int n, double) override
    {
        calls << QString("sGraphShift%1(%2)").arg(suffix(panel)).arg(n);
    }
    void smInitTableTitle() override { calls << "smInitTableTitle"; }
    void clearTablesForRun() override
    {
        calls << "clearTablesForRun";
        velocityCells.clear();
        flowCells.clear();
    }
    void sSetWSTableData(const SampleTable &table, int n, double) override
    {
        calls << QString("sSetWSTableData(%1)").arg(n);
        for (int i = 1; i <= n; ++i)
            velocityCells << table.cell(i, SampleTable::kVelocity);
    }
    void sSetWCTableData(const SampleTable &table, int n) override
    {
        calls << QString("sSetWCTableData(%1)").arg(n);
        for (int i = 1; i <= n; ++i)
            flowCells << table.cell(i, SampleTable::kFlow);
    }
    void setTableBrowsing(Panel panel) override { calls << "setTableBrowsing" + suffix(panel); }
    int tableActiveRow(Panel) const override { return 1; }
    void sShowGraphMark(Panel panel, bool show) override
    {
        calls << QString("sShowGraphMark%1(%2)").arg(suffix(panel)).arg(show);
    }
    void resetScrollBarsForRun() override { calls << "resetScrollBarsForRun"; }
    void sSetCursorPosition(Panel panel) override { calls << "sSetCursorPosition" + suffix(panel); }
    void sInitHcrollBar(Panel panel, int cursorRow) override
    {
        calls << QString("sInitHcrollBar%1(%2)").arg(suffix(panel)).arg(cursorRow);
    }

    void sInitiStatusBar() override { calls << "sInitiStatusBar"; }
    void sShowPrgStat() override { calls << "sShowPrgStat"; }
    void sShowDataStat() override { calls << "sShowDataStat"; }
    void sShowMenuStat() override { calls << "sShowMenuStat"; }
    void sShowMeasuParam(qint32 count) override { calls << QString("sShowMeasuParam(%1)").arg(count); }
    void setCaption(const QString &text) override { caption = text; calls << "setCaption"; }

private:
    static QString suffix(Panel panel) { return panel == Panel::Velocity ? "_ws" : "_wc"; }
};

} // namespace venttest
