// Whole runs through the real run control with the scripted driver into the two data panels:
// rows, highlight, stamps, atmosphere cells, chart windows, paging, cursor keys and the mouse.
// Expected values are worked out by hand from the rules of the tables, charts and paging.
#include "acq/core/run_controller.h"
#include "acq/driver/scripted_driver.h"
#include "acq/ui/data_panel.h"
#include "acq/ui/time_chart.h"
#include "common/core/date_days.h"
#include "common/ui/data_grid.h"
#include "tests/acq/ui/display_rig.h"
#include "tests/support/recording_presenter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Step = ScriptedDriver::Step;
using venttest::DisplayRig;

constexpr int kMin = -32750;
const QColor kHighlight(100, 180, 200);

class StatusStub : public RunStatusView
{
public:
    void sInitiStatusBar() override {}
    void sShowPrgStat() override {}
    void sShowDataStat() override {}
    void sShowMenuStat() override {}
    void sShowMeasuParam(qint32) override {}
    void setCaption(const QString &) override {}
};

// "velocity,flow,pressure in tenths of hPa,flag" for samples from..from+count-1.
QStringList samples(int from, int count)
{
    QStringList out;
    for (int k = from; k < from + count; ++k)
        out << QStringLiteral("%1.25,%2.5,10132,1").arg(k % 40).arg(k * 3 % 500);
    return out;
}

class RunThroughPanels : public ::testing::Test
{
protected:
    explicit RunThroughPanels(UiVariant variant = UiVariant::English) : rig(variant)
    {
        rig.state.presenter = &presenter;
        rig.state.lastDataPath = dir.path() + QStringLiteral("/VL4402Data.VXD");
        rig.state.simulation = 1; // no connection probe
        rig.state.dataState = 1;
    }

    // A run at `start` of the rig's day whose polls find the given batches; the run ends after
    // the last batch when `count` samples were asked for and all arrived.
    void run(const QVector<QStringList> &polls, QTime start = QTime(12, 0), float interval = 1.0f,
             qint32 range = 60, int count = -1)
    {
        int total = 0;
        QVector<Step> script;
        for (const QStringList &batch : polls) {
            total += int(batch.size());
            script.push_back(Step{batch, total, -10000, -1});
        }
        rig.state.sampleTime = interval;
        rig.state.velXRange = range;
        rig.state.sampleCount = count < 0 ? total : count;
        const double startDay = DateDays::fromDate(rig.today, start);
        controller = std::make_unique<RunController>(
            rig.state, rig.display(), status,
            [script, startDay] {
                return std::unique_ptr<MeasurementDriver>(new ScriptedDriver(script, startDay));
            },
            nullptr);
        controller->sStartMeasu();
        for (int i = 0; i < polls.size(); ++i)
            controller->tmrGetData_Timer();
    }
    void stop() { controller->sStopMeasu(); }

    // n samples, one per poll, then the run ends with "The measurement ended. ".
    void finishedRun(int n, int perPoll = 1, qint32 range = 60, float interval = 1.0f)
    {
        QVector<QStringList> polls;
        for (int k = 1; k <= n; k += perPoll)
            polls << samples(k, qMin(perPoll, n - k + 1));
        run(polls, QTime(12, 0), interval, range);
        ASSERT_FALSE(rig.state.measuring);
    }

    GridModel *model(Panel p) { return rig.display().panel(p)->table()->grid(); }

    QTemporaryDir dir;
    venttest::RecordingPresenter presenter;
    StatusStub status;
    DisplayRig rig;
    std::unique_ptr<RunController> controller;
};

TEST_F(RunThroughPanels, FirstPollOfThreeSamples)
{
    run({samples(1, 3)}, QTime(12, 0), 1.0f, 60, 10);
    ASSERT_TRUE(rig.state.measuring);
    rig.flushTables();
    for (Panel p : {Panel::Velocity, Panel::Flow}) {
        DataPanel *panel = rig.display().panel(p);
        EXPECT_EQ(model(p)->gridRowCount(), 4);
        EXPECT_EQ(model(p)->cellBackground(3, 1), kHighlight);
        EXPECT_EQ(model(p)->cellBackground(2, 1), QColor(Qt::white));
        EXPECT_TRUE(panel->table()->isGridRowHidden(4));
        EXPECT_FALSE(panel->table()->isGridRowHidden(3));
        EXPECT_EQ(panel->activeRow(), 4);
    }
    EXPECT_EQ(model(Panel::Velocity)->cell(1, 1), QStringLiteral("2024-05-01 12:00:00"));
    EXPECT_EQ(model(Panel::Velocity)->cell(3, 1), QStringLiteral("2024-05-01 12:00:02"));
    EXPECT_EQ(model(Panel::Velocity)->cell(2, 2), QStringLiteral("2.25"));
    EXPECT_EQ(model(Panel::Flow)->cell(2, 1), QStringLiteral("6.5"));
    EXPECT_EQ(model(Panel::Velocity)->cell(1, 3), QStringLiteral("1013"));
    // Sample 1 sits one interval after the start; the window runs from there for 61 s.
    const double s = 43200;
    EXPECT_DOUBLE_EQ(rig.state.startSecond, s);
    for (Panel p : {Panel::Velocity, Panel::Flow}) {
        EXPECT_DOUBLE_EQ(rig.chart(p)->series(1).x(1), s + 1);
        EXPECT_DOUBLE_EQ(rig.chart(p)->xWindow().lower, s + 1);
        EXPECT_DOUBLE_EQ(rig.chart(p)->xWindow().upper, s + 62);
        EXPECT_FALSE(rig.display().panel(p)->scrollBar()->isEnabled());
    }
    stop();
}

TEST_F(RunThroughPanels, TimeStampsByInterval)
{
    run({samples(1, 3)}, QTime(8, 30, 15), 0.5f);
    rig.flushTables();
    EXPECT_EQ(model(Panel::Velocity)->cell(1, 1), QStringLiteral("2024-05-01 08:30:15:000"));
    EXPECT_EQ(model(Panel::Velocity)->cell(2, 1), QStringLiteral("2024-05-01 08:30:15:500"));
    EXPECT_EQ(model(Panel::Velocity)->cell(3, 1), QStringLiteral("2024-05-01 08:30:16:000"));
    run({samples(1, 2)}, QTime(8, 30, 15), 1.0f);
    rig.flushTables();
    EXPECT_EQ(model(Panel::Velocity)->cell(2, 1), QStringLiteral("2024-05-01 08:30:16"));
}

TEST_F(RunThroughPanels, AtmosphereCellsAndTheOptionBetweenRuns)
{
    const QStringList texts = {
        QStringLiteral("3.25,120.5,10132,1"), // 1013.2 hPa
        QStringLiteral("3.25,120.5,0,2"),     // zero: empty
        QStringLiteral("3.25,120.5,10132,3"), // error flag
        QStringLiteral("3.25,120.5,10132,7"), // no value
        QStringLiteral("3.25,120.5"),         // no pressure fields: flag "0"
    };
    run({texts});
    rig.flushTables();
    const QString expected[] = {"1013", "", "Err", "N", "N"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(model(Panel::Velocity)->cell(i + 1, 3), expected[i]) << i;
        EXPECT_EQ(model(Panel::Flow)->cell(i + 1, 2), expected[i]) << i;
    }
    EXPECT_EQ(model(Panel::Velocity)->cellAlignment(4, 3), Qt::AlignHCenter | Qt::AlignVCenter);
    EXPECT_EQ(model(Panel::Velocity)->cellAlignment(3, 3), Qt::AlignRight | Qt::AlignVCenter);
    // "Display ATM" off: the column is gone at the next start.
    rig.state.atmDisplay = 0;
    run({texts});
    rig.flushTables();
    EXPECT_EQ(model(Panel::Velocity)->gridColumnCount(), 2);
    EXPECT_EQ(model(Panel::Flow)->gridColumnCount(), 1);
    EXPECT_EQ(model(Panel::Flow)->cell(1, 1), QStringLiteral("120.5"));
}

class RunThroughPanelsJapanese : public RunThroughPanels
{
protected:
    RunThroughPanelsJapanese() : RunThroughPanels(UiVariant::Japanese) {}
};

TEST_F(RunThroughPanelsJapanese, NoAtmosphereValueIsADash)
{
    run({{QStringLiteral("3.25,120.5,10132,0"), QStringLiteral("1.0,2.0,10132,3")}});
    rig.flushTables();
    EXPECT_EQ(model(Panel::Velocity)->cell(1, 3), QStringLiteral("-"));
    EXPECT_EQ(model(Panel::Flow)->cell(2, 2), QStringLiteral("Err"));
}

TEST_F(RunThroughPanels, ForwardJumpAndRunPastMidnight)
{
    QVector<QStringList> polls;
    for (int k = 1; k <= 63; ++k)
        polls << samples(k, 1);
    run(polls, QTime(23, 59, 30), 1.0f, 60, 1000);
    const double s = 86370;
    TimeChart *c = rig.chart(Panel::Velocity);
    // Sample 63 passed the end (S + 62): the window moved by the 10 s grid spacing.
    EXPECT_DOUBLE_EQ(c->xWindow().lower, s + 12);
    EXPECT_DOUBLE_EQ(c->xWindow().upper, s + 72);
    EXPECT_DOUBLE_EQ(c->series(1).x(63), 86433); // past midnight X counts on
    EXPECT_EQ(c->timeLabelAt(86433), QStringLiteral("00:00:33"));
    EXPECT_TRUE(c->xTickLabels().contains(QStringLiteral("00:00:00")));
    stop();
}

TEST_F(RunThroughPanels, LabelFormAndPagePointsFromTheParameters)
{
    finishedRun(10, 3, 5, 2.0f); // 5 / 2 = 2.5: 2 points per page
    EXPECT_EQ(rig.velocity()->paging().pagePoints(), 2);
    EXPECT_EQ(rig.chart(Panel::Velocity)->timeLabel(), PageMath::TimeLabel::Seconds);
    finishedRun(10, 3, 7, 2.0f); // 3.5: 4
    EXPECT_EQ(rig.flow()->paging().pagePoints(), 4);
    finishedRun(10, 3, 600);
    EXPECT_EQ(rig.chart(Panel::Flow)->timeLabel(), PageMath::TimeLabel::Minutes);
    finishedRun(10, 3, 86401);
    EXPECT_EQ(rig.chart(Panel::Flow)->timeLabel(), PageMath::TimeLabel::DateMinutes);
}

TEST_F(RunThroughPanels, HundredSamplesThenPaging)
{
    finishedRun(100, 7);
    EXPECT_EQ(presenter.lastText(), QStringLiteral("The measurement ended. "));
    for (Panel p : {Panel::Velocity, Panel::Flow}) {
        DataPanel *panel = rig.display().panel(p);
        QScrollBar *bar = panel->scrollBar();
        EXPECT_TRUE(bar->isEnabled());
        EXPECT_EQ(bar->maximum(), -32710);
        EXPECT_EQ(bar->value(), kMin);
        EXPECT_EQ(panel->activeRow(), 1);
        EXPECT_EQ(panel->chart()->markerIndex(), 1);
        EXPECT_TRUE(panel->chart()->markerVisible());
        EXPECT_TRUE(panel->chart()->gridShown());
        EXPECT_EQ(model(p)->cellBackground(100, 1), QColor(Qt::white));
        EXPECT_EQ(panel->table()->selectionBackground(), QColor(0, 64, 128));
        bar->setValue(bar->maximum());
        EXPECT_EQ(panel->paging().pageStart(), 40);
        EXPECT_EQ(panel->paging().pageEnd(), 99);
        EXPECT_DOUBLE_EQ(panel->chart()->xWindow().lower, rig.x(39));
        EXPECT_DOUBLE_EQ(panel->chart()->xWindow().upper, rig.x(100));
    }
    // The graph parameters confirmed with the cursor on row 75.
    DataPanel::sActiveRow(rig.velocity()->table(), 75);
    rig.display().sInitHcrollBar(Panel::Velocity, rig.display().tableActiveRow(Panel::Velocity));
    EXPECT_EQ(rig.velocity()->scrollBar()->value(), kMin + 15);
}

TEST_F(RunThroughPanels, ExactlyOnePageAndLessThanAPage)
{
    finishedRun(60, 10);
    EXPECT_EQ(rig.velocity()->scrollBar()->maximum(), kMin + 60);
    EXPECT_TRUE(rig.velocity()->scrollBar()->isEnabled());
    finishedRun(59, 10);
    for (Panel p : {Panel::Velocity, Panel::Flow}) {
        EXPECT_FALSE(rig.display().panel(p)->scrollBar()->isEnabled());
        EXPECT_DOUBLE_EQ(rig.chart(p)->xWindow().lower, rig.x(1) - 1);
    }
}

TEST_F(RunThroughPanels, AfterNew)
{
    finishedRun(100, 10);
    // "New" while idle: one sample counts as received, no data; the curves stay.
    rig.state.receivedCount = 1;
    rig.state.dataState = 1;
    rig.velocity()->scrollBar()->setValue(kMin + 25);
    rig.flow()->scrollBar()->setValue(kMin + 25);
    EXPECT_DOUBLE_EQ(rig.chart(Panel::Velocity)->xWindow().lower, rig.x(1) - 1);
    EXPECT_DOUBLE_EQ(rig.chart(Panel::Flow)->xWindow().lower, rig.x(25) - 1);
}

TEST_F(RunThroughPanels, StoppedByTheUserWithoutSamples)
{
    run({{}, {}}, QTime(12, 0), 1.0f, 60, 10);
    ASSERT_TRUE(rig.state.measuring);
    stop();
    EXPECT_EQ(rig.state.dataState, 1);
    for (Panel p : {Panel::Velocity, Panel::Flow}) {
        EXPECT_EQ(model(p)->gridRowCount(), 1);
        EXPECT_FALSE(rig.chart(p)->markerVisible());
        EXPECT_FALSE(rig.display().panel(p)->scrollBar()->isEnabled());
    }
}

TEST_F(RunThroughPanels, CursorKeysAndMouseAfterARun)
{
    finishedRun(1000, 50);
    DataPanel *v = rig.velocity();
    DataGrid *table = v->table();
    auto key = [table](int k) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier);
        QApplication::sendEvent(table, &press);
        QApplication::sendEvent(table, &release);
    };
    key(Qt::Key_Left);
    EXPECT_EQ(v->activeRow(), 1);
    for (int i = 0; i < 60; ++i)
        key(Qt::Key_Right);
    EXPECT_EQ(v->activeRow(), 61);
    EXPECT_EQ(v->chart()->markerIndex(), 61);
    // Leaving the page: the page starts one sample before the cursor row.
    EXPECT_EQ(v->scrollBar()->value(), kMin + 60);
    EXPECT_DOUBLE_EQ(v->chart()->xWindow().lower, rig.x(60) - 1);

    TimeChart *c = v->chart();
    c->flushReplot();
    auto mouse = [c](QEvent::Type type, double x, Qt::MouseButtons buttons) {
        const QPointF pos = c->positionOf(x, 10);
        QMouseEvent e(type, pos, c->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(c, &e);
    };
    mouse(QEvent::MouseButtonPress, rig.x(70), Qt::LeftButton);
    mouse(QEvent::MouseMove, rig.x(80), Qt::LeftButton);
    EXPECT_EQ(v->activeRow(), 80);
    mouse(QEvent::MouseMove, rig.x(119) + 0.3, Qt::LeftButton);
    EXPECT_EQ(v->activeRow(), 119);
    mouse(QEvent::MouseButtonRelease, rig.x(119) + 0.3, Qt::NoButton);
    EXPECT_EQ(v->activeRow(), 119);
    EXPECT_EQ(c->markerIndex(), 119);
    EXPECT_DOUBLE_EQ(c->xWindow().lower, rig.x(60) - 1); // row 119 is on the page 60..119
}

} // namespace
