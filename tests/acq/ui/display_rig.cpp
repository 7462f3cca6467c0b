#include "tests/acq/ui/display_rig.h"

#include "acq/core/page_math.h"
#include "acq/driver/scripted_driver.h"
#include "acq/ui/data_panel.h"
#include "common/core/date_days.h"
#include "common/core/status_codes.h"
#include "common/ui/data_grid.h"
#include "tests/support/acq_fakes.h"

#include <QApplication>

namespace venttest {

bool loadAcqTexts(AppState &state, UiVariant variant, qint16 offset, MessagePresenter *presenter)
{
    static StringTable table;
    if (table.isEmpty())
        table.loadFile(QStringLiteral(":/strings/ventacq_strings.tsv"));
    state.presenter = presenter;
    state.texts = Texts(&table, variant);
    state.languageOffset = offset;
    return fLoadCommonStrings(state) == status::kSuccess;
}

DisplayRig::DisplayRig(UiVariant variant) : m_status(std::make_unique<RecordingDisplay>())
{
    loadAcqTexts(state, variant, variant == UiVariant::English ? 0 : 10000, &presenter);
    state.lastDataPath = m_dir.path() + QStringLiteral("/VL4402Data.VXD");
    state.simulation = 1;
    state.idle = 1;
    state.dataState = 1;
    state.graphTimeStep = 0.1f;

    m_window = std::make_unique<QSplitter>(Qt::Horizontal);
    m_display = new PanelDisplay(state, m_window.get());
    m_display->setToday([this] { return today; });
    // Velocity panel left, flow-rate panel right; each a table above its chart.
    for (DataPanel *p : {velocity(), flow()}) {
        auto *column = new QSplitter(Qt::Vertical, m_window.get());
        column->addWidget(p->table());
        column->addWidget(p->chartPane());
    }
    m_window->resize(1200, 700);
    m_display->smIniGraph();
    m_display->sScrollBarG(Panel::Velocity, false);
    m_display->sScrollBarG(Panel::Flow, false);
    m_display->smInitTableTitle();
    m_window->show();
    QApplication::processEvents();
}

DisplayRig::~DisplayRig() = default;

TimeChart *DisplayRig::chart(Panel which) const
{
    return panel(which)->chart();
}

GridModel *DisplayRig::grid(Panel which) const
{
    return panel(which)->table()->grid();
}

void DisplayRig::start(const QVector<QStringList> &polls, QTime start, float interval,
                       qint32 range, int count)
{
    QVector<ScriptedDriver::Step> script;
    int total = 0;
    for (const QStringList &batch : polls) {
        total += int(batch.size());
        script.push_back({batch, total, -10000, -1});
    }
    state.sampleTime = interval;
    state.velXRange = range;
    state.sampleCount = count < 0 ? total : count;
    const double startDay = DateDays::fromDate(today, start);
    m_controller = std::make_unique<RunController>(
        state, *m_display, *m_status,
        [script, startDay] {
            return std::unique_ptr<MeasurementDriver>(new ScriptedDriver(script, startDay));
        },
        nullptr);
    m_controller->sStartMeasu();
    // The tests make the polls themselves, so that waiting for a redraw polls nothing.
    if (state.driver)
        state.driver->disconnect(m_controller.get());
}

void DisplayRig::poll(int times)
{
    for (int i = 0; i < times; ++i)
        m_controller->tmrGetData_Timer();
}

void DisplayRig::flushTables()
{
    velocity()->flushTable();
    flow()->flushTable();
}

QStringList DisplayRig::samples(int from, int count)
{
    QStringList out;
    for (int k = from; k < from + count; ++k)
        out << QStringLiteral("%1.25,%2.5,10132,1").arg(k % 40).arg(k * 3 % 500);
    return out;
}

QVector<QStringList> DisplayRig::batches(int n, int perPoll)
{
    QVector<QStringList> polls;
    for (int k = 1; k <= n; k += perPoll)
        polls << samples(k, qMin(perPoll, n - k + 1));
    return polls;
}

double DisplayRig::x(int k) const
{
    return PageMath::pointX(k, state.sampleTime, state.startSecond, state.graphTimeStep);
}

} // namespace venttest
