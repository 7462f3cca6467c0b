#include "acq/ui/time_axis_ticker.h"

#include "common/core/date_days.h"

#include <cmath>

QString TimeAxisTicker::label(double x) const
{
    if (!std::isfinite(x))
        return QString();
    const double day = DateDays::addSeconds(DateDays::fromDate(m_base), x);
    return DateDays::format(day, PageMath::timeLabelPattern(m_label));
}

double TimeAxisTicker::stepFor(const QCPRange &range) const
{
    return PageMath::timeTickStep(range.size(), mTickCount);
}

double TimeAxisTicker::getTickStep(const QCPRange &range)
{
    return stepFor(range);
}

QString TimeAxisTicker::getTickLabel(double tick, const QLocale &, QChar, int)
{
    return label(tick);
}
