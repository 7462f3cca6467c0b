#include "acq/core/chart_series.h"

#include "common/core/number_format.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}

double ChartSeries::valueOf(const QString &text)
{
    return NumberFormat::parse(text).value_or(kNaN);
}

void ChartSeries::reset(int pointCount)
{
    const size_t n = size_t(pointCount > 0 ? pointCount : 0);
    m_x.assign(n, kNaN);
    m_y.assign(n, kNaN);
    m_plotted = 0;
    m_maxY = kNaN;
}

void ChartSeries::setPoint(int k, double x, double y)
{
    if (k < 1)
        return;
    const size_t n = size_t(k);
    const bool rewriting = n <= m_x.size(); // an earlier point again: rare, count afresh
    m_x.resize(n, kNaN);
    m_y.resize(n, kNaN);
    m_x[n - 1] = x;
    m_y[n - 1] = y;
    if (rewriting) {
        recount();
        return;
    }
    if (std::isfinite(y) && !(y <= m_maxY))
        m_maxY = y;
    if (m_plotted == k - 1 && std::isfinite(x))
        m_plotted = k;
}

double ChartSeries::x(int k) const
{
    return k >= 1 && k <= pointCount() ? m_x[size_t(k - 1)] : kNaN;
}

double ChartSeries::y(int k) const
{
    return k >= 1 && k <= pointCount() ? m_y[size_t(k - 1)] : kNaN;
}

bool ChartSeries::isPlotted(int k) const
{
    return std::isfinite(x(k));
}

void ChartSeries::recount()
{
    m_plotted = 0;
    while (m_plotted < pointCount() && std::isfinite(m_x[size_t(m_plotted)]))
        ++m_plotted;
    m_maxY = kNaN;
    for (double v : m_y) {
        if (std::isfinite(v) && !(v <= m_maxY))
            m_maxY = v;
    }
}

ChartSeries::Extent ChartSeries::extentY(double xFrom, double xTo) const
{
    Extent e{kNaN, kNaN};
    const auto end = m_x.begin() + m_plotted;
    auto it = std::lower_bound(m_x.begin(), end, xFrom);
    for (; it != end && *it <= xTo; ++it) {
        const double y = m_y[size_t(it - m_x.begin())];
        if (!std::isfinite(y))
            continue;
        if (!(y >= e.minimum))
            e.minimum = y;
        if (!(y <= e.maximum))
            e.maximum = y;
    }
    return e;
}
