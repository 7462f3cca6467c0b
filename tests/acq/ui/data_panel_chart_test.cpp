// The velocity and flow-rate charts through a run: prepared data, the X window and its labels,
// the forward jump, a run past midnight, the value axes, gaps, bars and coalesced drawing.
#include "acq/ui/data_panel.h"
#include "acq/ui/time_chart.h"
#include "tests/acq/ui/display_rig.h"

#include <QTest>
#include <cmath>
#include <gtest/gtest.h>

namespace {

using venttest::DisplayRig;
using venttest::Sample;

TEST(DataCharts, PreparedAtLoad)
{
    DisplayRig rig;
    for (Panel p : {Panel::Velocity, Panel::Flow}) {
        TimeChart *c = rig.chart(p);
        EXPECT_EQ(c->seriesCount(), 4);
        for (int s = 1; s <= 4; ++s) {
            EXPECT_EQ(c->series(s).pointCount(), 1);
            EXPECT_TRUE(std::isnan(c->series(s).y(1)));
        }
        EXPECT_FALSE(c->markerVisible());
        EXPECT_TRUE(c->gridShown());
        EXPECT_EQ(c->timeBase(), rig.today);
        // One-pixel pens, nothing antialiased.
        EXPECT_LE(c->graph(0)->pen().width(), 1);
        EXPECT_FALSE(c->graph(0)->antialiased());
    }
    EXPECT_EQ(rig.chart(Panel::Velocity)->objectName(), QStringLiteral("Ch2dWSGraph"));
    EXPECT_EQ(rig.chart(Panel::Flow)->objectName(), QStringLiteral("Ch2dWCGraph"));
    EXPECT_EQ(rig.chart(Panel::Velocity)->yTitle(), QStringLiteral("Velocity(m/s)"));
    EXPECT_EQ(rig.chart(Panel::Flow)->yTitle(), QStringLiteral("Flow Rate(m3/h)"));
}

TEST(DataCharts, WindowAfterTheFirstSample)
{
    DisplayRig rig;
    rig.start(QTime(12, 0), 1.0f, 60);
    const double s = 43200;
    EXPECT_DOUBLE_EQ(rig.state.startSecond, s);
    rig.poll({{"3.25", "120.5"}});
    for (Panel p : {Panel::Velocity, Panel::Flow}) {
        TimeChart *c = rig.chart(p);
        EXPECT_DOUBLE_EQ(c->xWindow().lower, s + 1);
        EXPECT_DOUBLE_EQ(c->xWindow().upper, s + 62);
        EXPECT_EQ(c->timeLabel(), PageMath::TimeLabel::Seconds);
        EXPECT_EQ(c->series(1).pointCount(), 1);
        EXPECT_DOUBLE_EQ(c->series(1).x(1), s + 1);
        EXPECT_FALSE(c->gridShown()); // grid lines are off while a run proceeds
    }
    EXPECT_DOUBLE_EQ(rig.chart(Panel::Velocity)->series(1).y(1), 3.25);
    EXPECT_DOUBLE_EQ(rig.chart(Panel::Flow)->series(1).y(1), 120.5);
    const QVector<QString> labels = rig.chart(Panel::Velocity)->xTickLabels();
    EXPECT_TRUE(labels.contains(QStringLiteral("12:00:10"))) << labels.join(',').toStdString();
}

TEST(DataCharts, LabelFormsByTimeRange)
{
    struct Case { qint32 range; PageMath::TimeLabel label; const char *text; };
    // The label of X = 43260 (12:01:00 of the base day).
    const Case cases[] = {
        {599, PageMath::TimeLabel::Seconds, "12:01:00"},
        {600, PageMath::TimeLabel::Minutes, "12:01"},
        {86400, PageMath::TimeLabel::Minutes, "12:01"},
        {86401, PageMath::TimeLabel::DateMinutes, "05-01 12:01"},
    };
    DisplayRig rig;
    rig.start(QTime(12, 0), 1.0f, 60);
    for (const Case &c : cases) {
        rig.state.velXRange = c.range;
        rig.display().smGraphXAexs(Panel::Velocity);
        TimeChart *chart = rig.chart(Panel::Velocity);
        EXPECT_EQ(chart->timeLabel(), c.label) << c.range;
        EXPECT_EQ(chart->timeLabelAt(43260), QString::fromLatin1(c.text));
        EXPECT_DOUBLE_EQ(chart->xWindow().upper - chart->xWindow().lower, c.range + 1.0);
    }
}

TEST(DataCharts, ForwardJumpUsesTheDrawnGridSpacing)
{
    DisplayRig rig;
    rig.start(QTime(12, 0), 1.0f, 60);
    const double s = 43200;
    TimeChart *c = rig.chart(Panel::Velocity);
    rig.pollSeries(62);
    EXPECT_DOUBLE_EQ(c->xWindow().lower, s + 1); // sample 62 sits on the right end: no jump
    EXPECT_DOUBLE_EQ(c->xWindow().upper, s + 62);
    const double g = c->majorTickSpacing();
    const QVector<double> ticks = c->xTicks();
    ASSERT_GE(ticks.size(), 2);
    EXPECT_DOUBLE_EQ(g, ticks[1] - ticks[0]);
    EXPECT_DOUBLE_EQ(g, 10);
    rig.pollSeries(1); // sample 63 passes it
    // origin' = (63 - 60) x 1 + S - 1; the window moves on by g.
    EXPECT_DOUBLE_EQ(c->xWindow().lower, s + 2 + g);
    EXPECT_DOUBLE_EQ(c->xWindow().upper, s + 62 + g);
    rig.pollSeries(9); // up to sample 72 on the right end
    EXPECT_DOUBLE_EQ(c->xWindow().upper, s + 72);
    rig.pollSeries(1);
    EXPECT_DOUBLE_EQ(c->xWindow().lower, s + 22);
    EXPECT_DOUBLE_EQ(c->xWindow().upper, s + 82);
    // Both charts move alike; the X origins stay where the start put them.
    EXPECT_EQ(rig.chart(Panel::Flow)->xWindow(), c->xWindow());
    EXPECT_DOUBLE_EQ(rig.state.velXPosition, s + 1);
    // A batch that crosses the end jumps once, from the newest sample.
    rig.pollSeries(40, 40);
    EXPECT_DOUBLE_EQ(c->xWindow().upper, s + 113 - 60 - 1 + 60 + 10);
}

TEST(DataCharts, RunPastMidnightCountsOn)
{
    DisplayRig rig;
    rig.start(QTime(23, 59, 50), 1.0f, 60);
    rig.pollSeries(20, 5);
    TimeChart *c = rig.chart(Panel::Velocity);
    EXPECT_DOUBLE_EQ(rig.state.startSecond, 86390);
    EXPECT_DOUBLE_EQ(c->series(1).x(20), 86410);
    EXPECT_EQ(c->timeLabelAt(86405), QStringLiteral("00:00:05"));
    const QVector<QString> labels = c->xTickLabels();
    EXPECT_TRUE(labels.contains(QStringLiteral("00:00:00"))) << labels.join(',').toStdString();
    rig.state.velXRange = 86401;
    rig.display().smGraphXAexs(Panel::Velocity);
    EXPECT_EQ(c->timeLabelAt(86400 + 60), QStringLiteral("05-02 00:01"));
}

TEST(DataCharts, ValueAxes)
{
    DisplayRig rig;
    rig.state.velYMax = 20;
    rig.start(QTime(8, 0), 1.0f);
    rig.poll({{"5.0", "10.0"}});
    const QCPRange flow1 = rig.chart(Panel::Flow)->yWindow();
    EXPECT_DOUBLE_EQ(flow1.lower, 0);
    EXPECT_GE(flow1.upper, 10);
    EXPECT_LT(flow1.upper, 100);
    rig.poll({{"500.0", "5000.0"}});
    EXPECT_GE(rig.chart(Panel::Flow)->yWindow().upper, 5000); // a large flow widens the axis
    EXPECT_TRUE(rig.chart(Panel::Flow)->yAutoMaximum());
    const QCPRange vel = rig.chart(Panel::Velocity)->yWindow();
    EXPECT_DOUBLE_EQ(vel.lower, 0);
    EXPECT_DOUBLE_EQ(vel.upper, 20); // the velocity axis stops at its maximum
}

TEST(DataCharts, TextThatIsNotANumberIsAGap)
{
    DisplayRig rig;
    rig.start(QTime(8, 0), 1.0f);
    rig.poll({{"1.0", "10"}, {"abc", "--"}, {"3.0", "30"}});
    for (Panel p : {Panel::Velocity, Panel::Flow}) {
        const ChartSeries &s = rig.chart(p)->series(1);
        EXPECT_EQ(s.pointCount(), 3);
        EXPECT_TRUE(std::isnan(s.y(2)));
        EXPECT_DOUBLE_EQ(s.x(2), 28802);
        EXPECT_DOUBLE_EQ(s.x(3), 28803);
    }
    // The line has a break, the bars a missing bar.
    TimeChart *v = rig.chart(Panel::Velocity);
    ASSERT_EQ(v->graph(0)->data()->size(), 3);
    EXPECT_TRUE(std::isnan((v->graph(0)->data()->constBegin() + 1)->value));
    EXPECT_EQ(rig.flow()->chart()->bars(), true);
}

TEST(DataCharts, FlowBarsLeaveAGap)
{
    DisplayRig rig;
    rig.start(QTime(8, 0), 1.0f);
    rig.pollSeries(30);
    TimeChart *c = rig.chart(Panel::Flow);
    EXPECT_TRUE(c->bars());
    EXPECT_FALSE(rig.chart(Panel::Velocity)->bars());
    c->flushReplot();
    const double pixelsPerPoint = c->axisRect()->width() / c->xWindow().size();
    EXPECT_GT(c->drawnBarWidth(), 1);
    EXPECT_LE(c->drawnBarWidth(), pixelsPerPoint - 1);
}

TEST(DataCharts, RedrawsAreCoalesced)
{
    DisplayRig rig;
    rig.start(QTime(8, 0), 1.0f);
    TimeChart *c = rig.chart(Panel::Velocity);
    QTest::qWait(60);
    const int before = c->replotCount();
    rig.pollSeries(200);
    EXPECT_TRUE(c->replotPending());
    EXPECT_EQ(c->replotCount(), before); // nothing drawn while the polls run
    QTest::qWait(150);
    EXPECT_LE(c->replotCount() - before, 2);
    EXPECT_GE(c->replotCount() - before, 1);
    EXPECT_FALSE(c->replotPending());
}

} // namespace
