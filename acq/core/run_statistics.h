#pragma once

#include "acq/core/sample_statistics.h"

#include <QString>
#include <QStringList>
#include <QVector>

struct AppState;
class ChartSeries;
class SampleTable;

// The figures of a run for the statistics window: velocity and flow rate over the whole run,
// gathered batch by batch as the polls decode them (constant cost per sample), and over the page
// on display, worked out from a chart's points when asked (a page is at most a few thousand).
class RunStatistics
{
public:
    // A new run, or no data (New).
    void reset();
    // Rows 1..n of a poll's table: the velocity and the flow-rate text of each sample.
    void addBatch(const SampleTable &table, int n);

    const SampleStatistics &velocity() const { return m_velocity; }
    const SampleStatistics &flow() const { return m_flow; }
    // Samples added since the reset, gaps included.
    int samples() const { return m_velocity.count() + m_velocity.gaps(); }

    // The points of `series` that lie inside the chart's time window xMin..xMax, its edges left
    // out, among samples 1..lastSample. The window of a page starts one interval before the page's
    // first sample and ends on the sample after its last, so these are the page's samples.
    static SampleStatistics page(const ChartSeries &series, double xMin, double xMax,
                                 float sampleTime, int lastSample);

    // The table shown and copied: a header row (the four columns with their units: velocity of
    // the whole run and of the page, flow rate of the whole run and of the page), then samples,
    // gaps, minimum, maximum, mean and standard deviation. Figures are written with the decimals
    // of the run's samples; a figure that does not exist (no number; one number for the standard
    // deviation) is empty.
    struct Table
    {
        QStringList header;
        QVector<QStringList> rows;
        // Tab-separated, a line per row, the header first.
        QString text() const;
    };
    Table table(const AppState &state, const SampleStatistics &velocityPage,
                const SampleStatistics &flowPage) const;

private:
    SampleStatistics m_velocity;
    SampleStatistics m_flow;
};
