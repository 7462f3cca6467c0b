// Statistics of a run: numbers and gaps of velocity and flow rate over the whole run (batch by
// batch) and over the page in a chart's window, and the table shown and copied.
#include "acq/core/run_statistics.h"
#include "acq/core/chart_series.h"
#include "acq/core/sample_table.h"
#include "tests/acq/core/acq_test_support.h"

#include <gtest/gtest.h>

namespace {

// Samples 1..10 (velocity, flow rate); "Err", "-----" and " " are gaps.
//   velocity numbers 2, 4, 4, 4, 5, 5, 7, 9 (gaps at 3 and 7): mean 40 / 8 = 5, squared
//   deviations 9+1+1+1+0+0+4+16 = 32, standard deviation sqrt(32 / 7) = 2.138.
//   flow numbers 20, 40, 40, 40, 50, 50, 70, 90 (gaps at 4 and 10): mean 50, squared deviations
//   3200, standard deviation sqrt(3200 / 7) = 21.381.
const char *const kSamples[10][2] = {
    {"2.00", "20.0"}, {"4.00", "40.0"}, {"Err", "40.0"}, {"4.00", "E"}, {"4.00", "40.0"},
    {"5.00", "50.0"}, {"-----", "50.0"}, {"5.00", "70.0"}, {"7.00", "90.0"}, {"9.00", " "}};

SampleTable batch(int first, int last)
{
    SampleTable t;
    t.reset(last - first + 1);
    for (int k = first; k <= last; ++k) {
        t.set(k - first + 1, SampleTable::kVelocity, QString::fromLatin1(kSamples[k - 1][0]));
        t.set(k - first + 1, SampleTable::kFlow, QString::fromLatin1(kSamples[k - 1][1]));
    }
    return t;
}

// Sample k at X = 100 + k, as a chart places a run at 1 s a sample.
ChartSeries series(int column)
{
    ChartSeries s;
    s.reset(1);
    for (int k = 1; k <= 10; ++k)
        s.setPoint(k, 100 + k, ChartSeries::valueOf(QString::fromLatin1(kSamples[k - 1][column])));
    return s;
}

TEST(RunStatistics, WholeRunAndPageWithGaps)
{
    const auto state = acqtest::makeState();
    RunStatistics run;
    run.addBatch(batch(1, 4), 4);
    run.addBatch(batch(5, 10), 6);
    EXPECT_EQ(run.samples(), 10);

    // Page of 4 from sample 3: the window runs from sample 2 (X 102) to sample 7 (X 107).
    //   velocity: gap, 4, 4, 5: mean 13 / 3 = 4.333, squared deviations 0.111+0.111+0.444,
    //   standard deviation sqrt(0.667 / 2) = 0.577.
    //   flow: 40, gap, 40, 50: mean 43.333, standard deviation 5.774.
    const SampleStatistics velocityPage = RunStatistics::page(series(0), 102, 107, 1.0f, 10);
    const SampleStatistics flowPage = RunStatistics::page(series(1), 102, 107, 1.0f, 10);
    const RunStatistics::Table t = run.table(*state, velocityPage, flowPage);
    EXPECT_EQ(t.header, (QStringList{"", "Velocity (m/s), whole run", "Velocity (m/s), page on display",
                                     "Flow rate (m3/h), whole run", "Flow rate (m3/h), page on display"}));
    const QVector<QStringList> rows{
        {"Samples", "8", "3", "8", "3"},
        {"Gaps", "2", "1", "2", "1"},
        {"Minimum", "2.00", "4.00", "20.0", "40.0"},
        {"Maximum", "9.00", "5.00", "90.0", "50.0"},
        {"Mean", "5.00", "4.33", "50.0", "43.3"},
        {"Standard deviation", "2.14", "0.58", "21.4", "5.8"}};
    EXPECT_EQ(t.rows, rows);

    // A window between samples takes those inside; no samples (New) or one number leave the
    // figures empty.
    EXPECT_EQ(RunStatistics::page(series(0), 107.5, 110.5, 1.0f, 10).count(), 3); // 8, 9, 10
    EXPECT_EQ(RunStatistics::page(series(0), 102, 107, 1.0f, 0).count(), 0);
    const RunStatistics::Table empty = RunStatistics().table(
        *state, RunStatistics::page(series(0), 100, 102, 1.0f, 10), SampleStatistics());
    EXPECT_EQ(empty.rows[0], (QStringList{"Samples", "0", "1", "0", "0"}));
    EXPECT_EQ(empty.rows[2], (QStringList{"Minimum", "", "2", "", ""}));
    EXPECT_EQ(empty.rows[5], (QStringList{"Standard deviation", "", "", "", ""}));
}

TEST(RunStatistics, SpreadSurvivesALargeCommonOffset)
{
    // 1e9 + 0.1, + 0.2, + 0.3: standard deviation 0.1, lost by a sum of squares in doubles.
    SampleStatistics s;
    for (double d : {0.1, 0.2, 0.3})
        s.add(1e9 + d);
    EXPECT_NEAR(s.standardDeviation(), 0.1, 1e-6);
    EXPECT_NEAR(s.mean(), 1e9 + 0.2, 1e-6);
}

} // namespace
