#include "acq/core/run_statistics.h"

#include "acq/core/acq_string_ids.h"
#include "acq/core/app_state.h"
#include "acq/core/chart_series.h"
#include "acq/core/sample_table.h"
#include "common/core/number_format.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxDecimals = 6;

QString figure(double value, int decimals)
{
    if (!std::isfinite(value))
        return QString();
    const int d = std::clamp(decimals, 0, kMaxDecimals);
    const QString pattern = d > 0 ? QStringLiteral("0.") + QString(d, QLatin1Char('0'))
                                  : QStringLiteral("0");
    return NumberFormat::format(value, pattern);
}

QString unitName(const QString *names, size_t size, int index)
{
    return index >= 0 && size_t(index) < size ? names[index] : QString();
}

} // namespace

void RunStatistics::reset()
{
    m_velocity = SampleStatistics();
    m_flow = SampleStatistics();
}

void RunStatistics::addBatch(const SampleTable &table, int n)
{
    for (int i = 1; i <= n; ++i) {
        m_velocity.addText(table.cell(i, SampleTable::kVelocity));
        m_flow.addText(table.cell(i, SampleTable::kFlow));
    }
}

SampleStatistics RunStatistics::page(const ChartSeries &series, double xMin, double xMax,
                                     float sampleTime, int lastSample)
{
    SampleStatistics s;
    const double step = double(sampleTime);
    const double x1 = series.x(1);
    const int last = std::min(lastSample, series.plottedCount());
    if (last < 1 || !(step > 0) || !std::isfinite(x1) || !std::isfinite(xMin)
        || !std::isfinite(xMax))
        return s;
    // Sample k sits at x1 + (k - 1) x step; the edges are left out, allowing for rounding.
    constexpr double kSlack = 1e-6;
    const double from = std::floor((xMin - x1) / step + kSlack) + 2;
    const double to = std::ceil((xMax - x1) / step - kSlack);
    const int first = int(std::clamp(from, 1.0, double(last) + 1));
    const int end = int(std::clamp(to, 0.0, double(last)));
    for (int k = first; k <= end; ++k)
        s.add(series.y(k));
    return s;
}

RunStatistics::Table RunStatistics::table(const AppState &state,
                                          const SampleStatistics &velocityPage,
                                          const SampleStatistics &flowPage) const
{
    const QString velocityUnit = unitName(state.velocityUnitNames.data(),
                                          state.velocityUnitNames.size(), state.velocityUnit);
    const QString flowUnit = unitName(state.flowUnitNames.data(), state.flowUnitNames.size(),
                                      state.flowUnit);
    const QString heading = state.localText(acqid::kStatisticsHeading);
    const QString run = state.localText(acqid::kStatisticsWholeRun);
    const QString page = state.localText(acqid::kStatisticsPage);
    const QString velocity = state.localText(acqid::kStatisticsVelocity);
    const QString flow = state.localText(acqid::kStatisticsFlow);

    Table t;
    t.header << QString() << heading.arg(velocity, velocityUnit, run)
             << heading.arg(velocity, velocityUnit, page) << heading.arg(flow, flowUnit, run)
             << heading.arg(flow, flowUnit, page);
    struct Column
    {
        const SampleStatistics *stats;
        int decimals;
    };
    const Column columns[] = {{&m_velocity, m_velocity.decimals()},
                              {&velocityPage, m_velocity.decimals()},
                              {&m_flow, m_flow.decimals()},
                              {&flowPage, m_flow.decimals()}};
    for (int row = 0; row < 6; ++row) {
        QStringList cells{state.localText(acqid::kStatisticsSamples + row)};
        for (const Column &c : columns) {
            const SampleStatistics &s = *c.stats;
            switch (row) {
            case 0: cells << QString::number(s.count()); break;
            case 1: cells << QString::number(s.gaps()); break;
            case 2: cells << figure(s.minimum(), c.decimals); break;
            case 3: cells << figure(s.maximum(), c.decimals); break;
            case 4: cells << figure(s.mean(), c.decimals); break;
            default: cells << figure(s.standardDeviation(), c.decimals); break;
            }
        }
        t.rows << cells;
    }
    return t;
}

QString RunStatistics::Table::text() const
{
    QString out = header.join(QLatin1Char('\t')) + QLatin1Char('\n');
    for (const QStringList &row : rows)
        out += row.join(QLatin1Char('\t')) + QLatin1Char('\n');
    return out;
}
