#include "tests/acq/ui/display_rig.h"

#include "acq/core/page_math.h"
#include "acq/ui/data_panel.h"
#include "common/core/date_days.h"
#include "tests/support/test_support.h"

#include <QApplication>
#include <cmath>

namespace venttest {

DisplayRig::DisplayRig(UiVariant variant)
{
    m_strings.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv"));
    state.texts = Texts(&m_strings, variant);
    state.languageOffset = variant == UiVariant::English ? 0 : 10000;
    fLoadCommonStrings(state);
    state.idle = 1;
    state.dataState = 1;
    state.graphTimeStep = 0.1f;

    m_window = std::make_unique<QSplitter>(Qt::Horizontal);
    m_window->setObjectName(QStringLiteral("panelsWindow"));
    m_display = new PanelDisplay(state, m_window.get());
    m_display->setToday([this] { return today; });
    // Velocity panel left, flow-rate panel right; each a table above its chart.
    for (DataPanel *p : {velocity(), flow()}) {
        auto *column = new QSplitter(Qt::Vertical, m_window.get());
        column->addWidget(p->table());
        column->addWidget(p->chartPane());
        m_window->addWidget(column);
    }
    m_window->resize(1200, 700);
    m_display->smIniGraph();
    m_display->smInitTableTitle();
    m_display->sScrollBarG(Panel::Velocity, false);
    m_display->sScrollBarG(Panel::Flow, false);
    m_window->show();
    QApplication::processEvents();
}

DisplayRig::~DisplayRig() = default;

DataPanel *DisplayRig::velocity() const
{
    return m_display->velocity();
}

DataPanel *DisplayRig::flow() const
{
    return m_display->flow();
}

TimeChart *DisplayRig::chart(Panel which) const
{
    return m_display->panel(which)->chart();
}

void DisplayRig::start(QTime start, float interval, qint32 range)
{
    state.sampleTime = interval;
    state.velXRange = range;
    state.statusCode = -10000;
    state.idle = 0;
    state.measuring = true;
    state.receivedCount = 0;
    state.dataState = 0;
    state.startTime = DateDays::fromDate(today, start);
    state.graphTimeStep = state.sampleTime;

    RunDisplay &d = *m_display;
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

SampleTable DisplayRig::table(const std::vector<Sample> &samples)
{
    SampleTable t;
    t.reset(int(samples.size()));
    for (int i = 1; i <= int(samples.size()); ++i) {
        const Sample &s = samples[size_t(i - 1)];
        t.set(i, SampleTable::kVelocity, s.velocity);
        t.set(i, SampleTable::kFlow, s.flow);
        for (int c : {2, 3, 4, 6, 7, 8})
            t.set(i, c, QStringLiteral("0.0"));
        t.set(i, SampleTable::kPressure, s.pressure);
        t.set(i, SampleTable::kFlag, s.flag);
    }
    return t;
}

void DisplayRig::poll(const std::vector<Sample> &samples)
{
    const int n = int(samples.size());
    if (n < 1)
        return;
    const SampleTable t = table(samples);
    state.dataState = 3;
    RunDisplay &d = *m_display;
    d.sSetWSTableData(t, n, state.startTime);
    d.sSetWCTableData(t, n);
    d.sGraphData(Panel::Velocity, t, n, state.startSecond);
    d.sGraphShift(Panel::Velocity, n, state.startSecond);
    d.sGraphData(Panel::Flow, t, n, state.startSecond);
    d.sGraphShift(Panel::Flow, n, state.startSecond);
    state.receivedCount += n;
}

void DisplayRig::pollSeries(int n, int perPoll)
{
    std::vector<Sample> batch;
    for (int i = 0; i < n; ++i) {
        const int k = state.receivedCount + int(batch.size()) + 1;
        batch.push_back({QString::number(5 + (k % 20) * 0.5, 'f', 2),
                         QString::number(100 + (k % 10) * 20, 'f', 1)});
        if (int(batch.size()) == perPoll || i == n - 1) {
            poll(batch);
            batch.clear();
        }
    }
}

void DisplayRig::stop()
{
    state.dataState = state.receivedCount < 1 ? 1 : 3;
    state.measuring = false;
    state.idle = 1;
    RunDisplay &d = *m_display;
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

void DisplayRig::flushTables()
{
    velocity()->flushTable();
    flow()->flushTable();
}

double DisplayRig::x(int k) const
{
    return PageMath::pointX(k, state.sampleTime, state.startSecond, state.graphTimeStep);
}

} // namespace venttest
