// Figures for the two data panels of ventacq (tables, charts, page scroll bars) laid out side by
// side in a window: a run of 65,500 samples fed in batches (the display calls of each poll, then
// the event loop, as between two polls), then one page step of a scroll bar and one cursor move
// on the finished run.
//
// Usage: display_bench [samples] [batch sizes...]   (default: 65500 1 100)
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "acq/core/app_state.h"
#include "acq/core/page_math.h"
#include "acq/core/sample_table.h"
#include "acq/ui/data_panel.h"
#include "acq/ui/panel_display.h"
#include "acq/ui/time_chart.h"
#include "bench/panel_window.h"
#include "common/core/date_days.h"
#include "common/core/string_table.h"
#include "common/ui/data_grid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSplitter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <ctime>
#include <sys/resource.h>
#include <vector>

namespace {

// CPU time of this thread in milliseconds: the figures do not depend on what else the machine
// runs (wall-clock totals are printed as well).
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

long peakMegabytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024;
}

struct Panels
{
    StringTable strings;
    AppState state;
    QSplitter window{Qt::Horizontal};
    PanelDisplay *display = nullptr;

    Panels()
    {
        strings.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv"));
        state.texts = Texts(&strings, UiVariant::English);
        fLoadCommonStrings(state);
        display = showPanelWindow(state, window);
    }

    void start()
    {
        state.sampleTime = 1.0f;
        state.velXRange = 60;
        state.idle = 0;
        state.measuring = true;
        state.receivedCount = 0;
        state.dataState = 0;
        state.startTime = DateDays::fromDate(QDate(2024, 5, 1), QTime(9, 0));
        state.graphTimeStep = state.sampleTime;
        RunDisplay &d = *display;
        d.smIniGraphDataNum(Panel::Velocity, 4, 1);
        d.smIniGraphDataNum(Panel::Flow, 4, 1);
        d.smSetGraphYAxiesTitile();
        d.smSetWCGraphBarSize();
        d.smGraphAxiesUnit(Panel::Velocity);
        d.smGraphAxiesUnit(Panel::Flow);
        d.sSetGraphYAxies();
        d.smSetGraphGrid(false);
        d.smInitTableTitle();
        d.clearTablesForRun();
        d.sShowGraphMark(Panel::Velocity, false);
        d.sShowGraphMark(Panel::Flow, false);
        d.resetScrollBarsForRun();
        state.startSecond = std::nearbyint(DateDays::secondsOfDay(state.startTime));
        state.velXPosition = state.flowXPosition = double(state.sampleTime) + state.startSecond;
        d.smGraphXAexs(Panel::Velocity);
        d.smGraphXAexs(Panel::Flow);
    }

    void poll(const SampleTable &t, int n)
    {
        state.dataState = 3;
        RunDisplay &d = *display;
        d.sSetWSTableData(t, n, state.startTime);
        d.sSetWCTableData(t, n);
        d.sGraphData(Panel::Velocity, t, n, state.startSecond);
        d.sGraphShift(Panel::Velocity, n, state.startSecond);
        d.sGraphData(Panel::Flow, t, n, state.startSecond);
        d.sGraphShift(Panel::Flow, n, state.startSecond);
        state.receivedCount += n;
    }

    void stop()
    {
        state.dataState = state.receivedCount < 1 ? 1 : 3;
        state.measuring = false;
        state.idle = 1;
        RunDisplay &d = *display;
        d.setTableBrowsing(Panel::Velocity);
        d.setTableBrowsing(Panel::Flow);
        d.sSetCursorPosition(Panel::Velocity);
        d.sSetCursorPosition(Panel::Flow);
        d.smGraphXAexs(Panel::Velocity);
        d.smGraphXAexs(Panel::Flow);
        d.sInitHcrollBar(Panel::Velocity, d.tableActiveRow(Panel::Velocity));
        d.sInitHcrollBar(Panel::Flow, d.tableActiveRow(Panel::Flow));
        d.sShowGraphMark(Panel::Velocity, true);
        d.sShowGraphMark(Panel::Flow, true);
        d.smSetGraphGrid(true);
    }

    // Everything asked for is drawn: the charts' pending redraws and the widgets' paint events.
    void drawNow()
    {
        display->velocity()->flushTable();
        display->flow()->flushTable();
        display->velocity()->chart()->flushReplot();
        display->flow()->chart()->flushReplot();
        window.repaint();
        QApplication::processEvents();
    }
};

void fill(SampleTable &t, int first, int n)
{
    t.reset(n);
    for (int i = 1; i <= n; ++i) {
        const int k = first + i - 1;
        const double v = 8 + 5 * std::sin(k / 40.0);
        t.set(i, SampleTable::kVelocity, QString::number(v, 'f', 2));
        t.set(i, SampleTable::kFlow, QString::number(v * 36, 'f', 1));
        for (int c : {2, 3, 4, 6, 7, 8})
            t.set(i, c, QStringLiteral("0.0"));
        t.set(i, SampleTable::kPressure, QStringLiteral("1013.2"));
        t.set(i, SampleTable::kFlag, k % 50 == 0 ? QStringLiteral("3") : QStringLiteral("1"));
    }
}

double sum(const std::vector<double> &v, size_t from, size_t to)
{
    return std::accumulate(v.begin() + long(from), v.begin() + long(to), 0.0);
}

void runBatches(Panels &p, int samples, int batch)
{
    p.start();
    SampleTable t;
    std::vector<double> ms;
    ms.reserve(size_t(samples / batch + 1));
    // Besides: polls drawn at once (tables and charts), early in the run and late in it, outside
    // the batches compared below: what one poll costs when polls come slower than redraws.
    std::vector<double> drawnEarly;
    std::vector<double> drawnLate;
    const int earlyAt = 1000 * batch + 1;
    const int lateAt = samples - 1500 * batch;
    QElapsedTimer total;
    total.start();
    int index = 0;
    for (int first = 1; first <= samples; first += batch, ++index) {
        const int n = std::min(batch, samples - first + 1);
        fill(t, first, n);
        std::vector<double> *drawn = nullptr;
        if (first >= earlyAt && first < earlyAt + 20 * batch)
            drawn = &drawnEarly;
        else if (lateAt > earlyAt + 20 * batch && first >= lateAt && first < lateAt + 20 * batch)
            drawn = &drawnLate;
        const double before = cpuMs();
        p.poll(t, n);
        if (drawn) {
            p.drawNow();
            drawn->push_back(cpuMs() - before);
            ms.push_back(drawn->back());
            continue;
        }
        QApplication::processEvents(); // redraws and timers, as between two polls
        ms.push_back(cpuMs() - before);
    }
    const double totalMs = double(total.nsecsElapsed()) / 1e6;
    p.stop();
    p.drawNow();

    // Compare equal numbers of batches at both ends: 1,000 batches, or 45 % of the run when it
    // has fewer than 2,222 batches (batches of 100: the first and the last 294).
    const size_t count = std::max<size_t>(1, std::min<size_t>(1000, ms.size() * 45 / 100));
    const double first = sum(ms, 0, count);
    const double last = sum(ms, ms.size() - count, ms.size());
    std::vector<double> sorted = ms;
    std::sort(sorted.begin(), sorted.end());
    std::printf("batch %4d: %zu batches, wall %.0f ms, CPU %.0f ms; CPU per batch median %.3f ms, "
                "99th %.3f ms, max %.1f ms\n",
                batch, ms.size(), totalMs, sum(ms, 0, ms.size()), sorted[sorted.size() / 2],
                sorted[sorted.size() * 99 / 100], sorted.back());
    std::printf("            CPU of the first %zu batches %.1f ms, of the last %zu %.1f ms, ratio %.2f\n",
                count, first, count, last, last / first);
    if (!drawnEarly.empty() && !drawnLate.empty()) {
        std::printf("            a poll drawn at once: %.2f ms CPU after %d samples, %.2f ms after %d\n",
                    sum(drawnEarly, 0, drawnEarly.size()) / double(drawnEarly.size()), earlyAt,
                    sum(drawnLate, 0, drawnLate.size()) / double(drawnLate.size()), lateAt);
    }
    std::printf("            peak memory so far %ld MB\n", peakMegabytes());
}

void pagingFigures(Panels &p)
{
    DataPanel *v = p.display->velocity();
    QScrollBar *bar = v->scrollBar();
    std::vector<double> steps;
    std::vector<double> stepsWall;
    for (int i = 0; i < 30; ++i) {
        QElapsedTimer wall;
        wall.start();
        const double before = cpuMs();
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        p.drawNow();
        steps.push_back(cpuMs() - before);
        stepsWall.push_back(double(wall.nsecsElapsed()) / 1e6);
    }
    // Cursor moves: the right arrow on the table, released (each crossing of a page end pages).
    DataGrid *table = v->table();
    DataPanel::sActiveRow(table, table->grid()->gridRowCount() / 2);
    v->sShowGraphMark(true);
    p.drawNow();
    std::vector<double> moves;
    std::vector<double> movesWall;
    for (int i = 0; i < 200; ++i) {
        QElapsedTimer wall;
        wall.start();
        const double before = cpuMs();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(table, &press);
        QApplication::sendEvent(table, &release);
        p.drawNow();
        moves.push_back(cpuMs() - before);
        movesWall.push_back(double(wall.nsecsElapsed()) / 1e6);
    }
    auto report = [](const char *what, std::vector<double> t) {
        std::sort(t.begin(), t.end());
        std::printf("%s: median %.2f ms, max %.2f ms (%zu times, drawing included)\n", what,
                    t[t.size() / 2], t.back(), t.size());
    };
    report("page step on the finished run, CPU", steps);
    report("  the same, wall clock", stepsWall);
    report("cursor move on the finished run, CPU", moves);
    report("  the same, wall clock", movesWall);
    std::printf("rows %d, points %d, cursor row %d\n", table->grid()->gridRowCount(),
                v->chart()->series(1).pointCount(), v->activeRow());
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int samples = argc > 1 ? std::atoi(argv[1]) : 65500;
    std::vector<int> batches;
    for (int i = 2; i < argc; ++i)
        batches.push_back(std::max(1, std::atoi(argv[i])));
    if (batches.empty())
        batches = {1, 100};

    Panels panels;
    std::printf("display_bench: %d samples through both panels (%s)\n", samples,
                qPrintable(QGuiApplication::platformName()));
    for (int b : batches)
        runBatches(panels, samples, b);
    pagingFigures(panels);
    std::printf("peak memory of the process: %ld MB\n", peakMegabytes());
    return 0;
}
