#pragma once

#include "acq/core/app_state.h"
#include "acq/core/run_display.h"
#include "common/core/message_presenter.h"
#include "tests/support/acq_fakes.h"
#include "tests/support/recording_presenter.h"

#include <QStringList>
#include <functional>
#include <memory>

namespace acqtest {

using venttest::FakeProbe;
using venttest::ScriptedFileDialog;

// An AppState with the cached texts of ventacq's string table in the given block and variant.
std::unique_ptr<AppState> makeState(UiVariant variant = UiVariant::English, qint16 offset = 0);

// Reads a whole file (empty when missing).
QByteArray readFile(const QString &path);
// A hand-written expected file of tests/acq/core/expected/.
QByteArray expectedFile(const QString &name);

// The shared recording presenter, plus what the run-control tests need: a hook that runs while
// a message is "open" (as the nested event loop of a modal box would) and the default button of
// the last Yes/No question.
class RecordingPresenter : public venttest::RecordingPresenter
{
public:
    void notify(Icon icon, const QString &caption, const QString &text) override
    {
        venttest::RecordingPresenter::notify(icon, caption, text);
        shownNow();
    }
    qint16 askYesNo(const QString &caption, const QString &text, bool defaultNo) override
    {
        lastDefaultNo = defaultNo;
        shownNow();
        return venttest::RecordingPresenter::askYesNo(caption, text, defaultNo);
    }
    qint16 askYesNoCancel(const QString &caption, const QString &text) override
    {
        shownNow();
        return venttest::RecordingPresenter::askYesNoCancel(caption, text);
    }
    QStringList texts() const;

    std::function<void()> whileShown;
    bool lastDefaultNo = false;

private:
    void shownNow()
    {
        if (whileShown)
            whileShown();
    }
};

// Records the calls of the run control to the tables, charts, status bar and menus, by name.
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
    void clearTablesForRun() override;
    void sSetWSTableData(const SampleTable &table, int n, double) override;
    void sSetWCTableData(const SampleTable &table, int n) override;
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

} // namespace acqtest
