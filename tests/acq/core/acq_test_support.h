#pragma once

#include "acq/core/app_state.h"
#include "acq/core/file_dialog.h"
#include "acq/core/run_display.h"
#include "common/core/message_presenter.h"
#include "tests/support/recording_presenter.h"

#include <QStringList>
#include <QVector>
#include <deque>
#include <functional>
#include <memory>

namespace acqtest {

// An AppState with the cached texts of ventacq's string table in the given block and variant.
std::unique_ptr<AppState> makeState(UiVariant variant = UiVariant::English, qint16 offset = 0);

// Reads a whole file (empty when missing).
QByteArray readFile(const QString &path);
// A hand-written expected file of tests/acq/core/expected/.
QByteArray expectedFile(const QString &name);
// Lines joined with CR LF, each line ended by CR LF.
QByteArray crlf(const QStringList &lines);

// The shared recording presenter, plus what the run-control tests need: a hook that runs while
// a message is "open" (as the nested event loop of a modal box would) and the default button of
// the last Yes/No question.
class RecordingPresenter : public venttest::RecordingPresenter
{
public:
    void notify(Icon icon, const QString &caption, const QString &text) override;
    qint16 askYesNo(const QString &caption, const QString &text, bool defaultNo) override;
    qint16 askYesNoCancel(const QString &caption, const QString &text) override;

    std::function<void()> whileShown;
    bool lastDefaultNo = false;

    QStringList texts() const;
};

// Records the calls of the run control to the tables, charts, status bar and menus, by name.
class RecordingDisplay : public RunDisplay, public RunStatusView
{
public:
    QStringList calls;
    int activeRow[2] = {1, 1};
    qint32 tableRows[2] = {0, 0};
    QStringList velocityCells; // column 1 of every row handed to the velocity table
    QStringList flowCells;
    QString caption;

    void smIniGraphDataNum(Panel panel, int seriesCount, int pointsPerSeries) override;
    void smSetGraphYAxiesTitile() override { calls << "smSetGraphYAxiesTitile"; }
    void smSetWCGraphBarSize() override { calls << "smSetWCGraphBarSize"; }
    void smGraphAxiesUnit(Panel panel) override { calls << "smGraphAxiesUnit" + suffix(panel); }
    void sSetGraphYAxies() override { calls << "sSetGraphYAxies"; }
    void smSetGraphGrid(bool show) override { calls << QString("smSetGraphGrid(%1)").arg(show); }
    void smGraphXAexs(Panel panel) override { calls << "smGraphXAexs" + suffix(panel); }
    void sGraphData(Panel panel, const SampleTable &table, int n, double startSecond) override;
    void sGraphShift(Panel panel, int n, double) override;
    void smInitTableTitle() override { calls << "smInitTableTitle"; }
    void clearTablesForRun() override;
    void sSetWSTableData(const SampleTable &table, int n, double) override;
    void sSetWCTableData(const SampleTable &table, int n) override;
    void setTableBrowsing(Panel panel) override { calls << "setTableBrowsing" + suffix(panel); }
    int tableActiveRow(Panel panel) const override { return activeRow[int(panel)]; }
    void sShowGraphMark(Panel panel, bool show) override;
    void resetScrollBarsForRun() override { calls << "resetScrollBarsForRun"; }
    void sSetCursorPosition(Panel panel) override { calls << "sSetCursorPosition" + suffix(panel); }
    void sInitHcrollBar(Panel panel, int cursorRow) override;

    void sInitiStatusBar() override { calls << "sInitiStatusBar"; }
    void sShowPrgStat() override { calls << "sShowPrgStat"; }
    void sShowDataStat() override { calls << "sShowDataStat"; }
    void sShowMenuStat() override { calls << "sShowMenuStat"; }
    void sShowMeasuParam(qint32 count) override { calls << QString("sShowMeasuParam(%1)").arg(count); }
    void setCaption(const QString &text) override { caption = text; calls << "setCaption"; }

private:
    static QString suffix(Panel panel) { return panel == Panel::Velocity ? "_ws" : "_wc"; }
};

// A save dialog that hands out prepared answers and records the folders it was opened in.
class ScriptedFileDialog : public FileDialog
{
public:
    Choice getSaveFileName(const QString &folder, const QVector<Filter> &filters) override;

    std::deque<Choice> answers; // an empty queue answers "cancelled"
    QStringList folders;
    QVector<Filter> lastFilters;
};

} // namespace acqtest
