// The velocity and flow-rate charts through runs of the run control: the X window
// and its labels, the forward jump, a run past midnight, the value axes, gaps, bars and
// coalesced drawing. Expected values are worked out by hand from the chart rules.
#include "acq/ui/data_panel.h"
#include "acq/ui/time_chart.h"
#include "tests/acq/ui/display_rig.h"
#include "tests/support/test_support.h"

#include <QElapsedTimer>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using venttest::DisplayRig;

TEST(DataCharts, WindowAfterTheFirstSample)
{
    DisplayRig rig;
    rig.run({{QStringLiteral("3.25,120.5,10132,1")}}, QTime(12, 0), 1.0f, 60, 10);
    const double s = 43200;
    EXPECT_DOUBLE_EQ(rig.state.startSecond, s);
    for (Panel p : {Panel::Velocity, Panel::Flow}) {
        TimeChart *c = rig.chart(p);
        // Sample 1 sits one interval after the start; the window runs 61 s from there.
        EXPECT_EQ(std::tuple(c->series(1).x(1), c->xWindow().lower, c->xWindow().upper),
                  std::tuple(s + 1, s + 1, s + 62));
        EXPECT_EQ(c->timeLabel(), PageMath::TimeLabel::Seconds);
        EXPECT_FALSE(c->gridShown()); // grid lines are off while a run proceeds
        EXPECT_EQ(c->timeBase(), rig.today);
    }
    EXPECT_EQ(std::tuple(rig.chart(Panel::Velocity)->series(1).y(1),
                         rig.chart(Panel::Flow)->series(1).y(1)),
              std::tuple(3.25, 120.5));
    EXPECT_TRUE(rig.chart(Panel::Velocity)->xTickLabels().contains(QStringLiteral("12:00:10")));
    rig.stop();
}

// The chart labels its axis in the form the range asks for (the forms: PageMath).
TEST(DataCharts, LabelFormFollowsTheRange)
{
    DisplayRig rig;
    rig.finishedRun(10, 5, 86401);
    TimeChart *chart = rig.chart(Panel::Flow);
    EXPECT_EQ(chart->timeLabel(), PageMath::TimeLabel::DateMinutes);
    EXPECT_EQ(chart->timeLabelAt(43260), QStringLiteral("05-01 12:01"));
    EXPECT_EQ(chart->timeLabelAt(86400 + 60), QStringLiteral("05-02 00:01")); // past midnight
    EXPECT_DOUBLE_EQ(chart->xWindow().size(), 86402);
}

TEST(DataCharts, ForwardJumpAndARunPastMidnight)
{
    DisplayRig rig;
    rig.start(DisplayRig::batches(113, 1) + DisplayRig::batches(40, 40), QTime(23, 59, 30),
              1.0f, 60, 1000);
    const double s = 86370;
    TimeChart *c = rig.chart(Panel::Velocity);
    rig.poll(62);
    EXPECT_DOUBLE_EQ(c->xWindow().upper, s + 62); // sample 62 sits on the right end: no jump
    const QVector<double> ticks = c->xTicks();
    ASSERT_GE(ticks.size(), 2);
    EXPECT_DOUBLE_EQ(ticks[1] - ticks[0], 10); // the spacing the axis draws
    rig.poll();
    // Sample 63 passed the end: origin' = (63 - 60) x 1 + S - 1, moved on by the 10 s spacing.
    EXPECT_EQ(std::tuple(c->xWindow().lower, c->xWindow().upper), std::tuple(s + 12, s + 72));
    EXPECT_EQ(rig.chart(Panel::Flow)->xWindow(), c->xWindow());
    EXPECT_DOUBLE_EQ(rig.state.velXPosition, s + 1); // the X origins stay
    rig.poll(10);                                    // sample 73 passes S + 72
    EXPECT_DOUBLE_EQ(c->xWindow().lower, s + 22);
    // X counts on past midnight; the labels are the next day's times.
    EXPECT_DOUBLE_EQ(c->series(1).x(63), 86433);
    EXPECT_EQ(c->timeLabelAt(86433), QStringLiteral("00:00:33"));
    EXPECT_TRUE(c->xTickLabels().contains(QStringLiteral("00:00:30")));
    // A batch that crosses the end jumps once, from its newest sample (153).
    rig.poll(41);
    EXPECT_DOUBLE_EQ(c->xWindow().upper, s + 153 - 60 - 1 + 60 + 10);
    rig.stop();
}

TEST(DataCharts, ValueAxes)
{
    DisplayRig rig;
    rig.state.velYMax = 20;
    rig.start({{QStringLiteral("5.0,10.0")}, {QStringLiteral("500.0,5000.0")}});
    rig.poll();
    EXPECT_DOUBLE_EQ(rig.chart(Panel::Flow)->yWindow().lower, 0);
    EXPECT_TRUE(rig.chart(Panel::Flow)->yWindow().upper >= 10 && rig.chart(Panel::Flow)->yWindow().upper < 100);
    rig.poll();
    EXPECT_GE(rig.chart(Panel::Flow)->yWindow().upper, 5000); // a large flow widens the axis
    EXPECT_EQ(rig.chart(Panel::Velocity)->yWindow(), QCPRange(0.0, 20.0)); // stops at the maximum
}

TEST(DataCharts, TextThatIsNotANumberIsAGap)
{
    DisplayRig rig;
    rig.run({{QStringLiteral("1.0,10"), QStringLiteral("abc,--"), QStringLiteral("3.0,30")}},
            QTime(8, 0));
    // The gap keeps its time (the series rules: ChartSeries); the line has a break.
    TimeChart *v = rig.chart(Panel::Velocity);
    ASSERT_EQ(v->graph(0)->data()->size(), 3);
    EXPECT_TRUE(std::isnan((v->graph(0)->data()->constBegin() + 1)->value));
    EXPECT_TRUE(std::isnan(rig.chart(Panel::Flow)->series(1).y(2)));
    EXPECT_DOUBLE_EQ(rig.chart(Panel::Flow)->series(1).y(3), 30.0);
    // The marker may stand on it: the sample has its time.
    DataPanel::sActiveRow(rig.velocity()->table(), 2);
    rig.velocity()->sShowGraphMark(true);
    EXPECT_EQ(v->markerIndex(), 2);
}

TEST(DataCharts, FlowBarsLeaveAGap)
{
    DisplayRig rig;
    rig.finishedRun(30, 10);
    TimeChart *c = rig.chart(Panel::Flow);
    EXPECT_TRUE(c->bars() && !rig.chart(Panel::Velocity)->bars());
    c->flushReplot();
    const double pixelsPerPoint = c->axisRect()->width() / c->xWindow().size();
    EXPECT_GT(c->drawnBarWidth(), 1);
    EXPECT_LE(c->drawnBarWidth(), pixelsPerPoint - 1);
}

TEST(DataCharts, RedrawsAreCoalesced)
{
    DisplayRig rig;
    rig.start(DisplayRig::batches(200, 1));
    TimeChart *c = rig.chart(Panel::Velocity);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !c->replotPending(); }));
    const int before = c->replotCount();
    QElapsedTimer clock;
    clock.start();
    rig.poll(200);
    const qint64 spent = clock.elapsed();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !c->replotPending(); }));
    // A poll draws only when 40 ms have passed since the last redraw; the rest is drawn once
    // after the polls.
    const int redraws = c->replotCount() - before;
    EXPECT_GE(redraws, 1);
    EXPECT_LE(redraws, 2 + spent / 40) << "200 polls in " << spent << " ms";
}

TEST(DataCharts, DrawnInPlaceTheyLookAsDrawnWhole)
{
    // Bars and lines, with room for bars and point marks (60 on the page), without (600), and with several points to the pixel
    // (2,000), a gap, the marker moving now and then (as when the user picks a row during the run): what the screen shows after
    // redraws of the changed columns alone must be what a redraw of everything gives.
    struct Case
    {
        float interval;
        qint32 range;
        int samples;
    };
    for (const Case &t : {Case{1.0f, 60, 90}, Case{0.1f, 60, 90}, Case{0.1f, 200, 240}}) {
        const float interval = t.interval;
        DisplayRig rig;
        rig.window()->resize(900, 700);
        rig.window()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(rig.window()));
        QVector<QStringList> polls = DisplayRig::batches(t.samples, 1);
        polls[40] = QStringList{QStringLiteral("abc,--")};
        for (QStringList &p : polls) // flow within the first axis range: no rescaling
            p[0].replace(QRegularExpression(QStringLiteral(",[0-9.]+,")), QStringLiteral(",7.5,"));
        rig.start(polls, QTime(12, 0), interval, t.range);
        for (Panel which : {Panel::Velocity, Panel::Flow})
            rig.chart(which)->setMarkerVisible(true);
        for (int k = 1; k <= polls.size(); ++k) {
            rig.poll();
            for (Panel which : {Panel::Velocity, Panel::Flow}) {
                rig.chart(which)->setMarkerIndex(k - k % 4 + 1);
                rig.chart(which)->flushReplot();
            }
            if (k % 15 != 0)
                continue;
            for (Panel which : {Panel::Velocity, Panel::Flow}) {
                TimeChart *c = rig.chart(which);
                const QImage shown = venttest::shownOnScreen(c);
                c->replot(QCustomPlot::rpImmediateRefresh);
                ASSERT_TRUE(shown == venttest::drawnWhole(c))
                    << "interval " << interval << ", range " << t.range << ", bars " << c->bars() << ", sample " << k;
            }
        }
        for (Panel which : {Panel::Velocity, Panel::Flow})
            EXPECT_GT(rig.chart(which)->inPlaceCount(), 60) << "interval " << interval;
    }
}

} // namespace
