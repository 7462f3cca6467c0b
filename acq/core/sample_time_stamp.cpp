#include "acq/core/sample_time_stamp.h"

#include "common/core/date_days.h"
#include "common/core/number_format.h"

#include <cmath>

QString fSampleTimeStamp(float interval, qint32 index, double start)
{
    const double offset = double(interval) * (double(index) - 1.0);
    // "Has a decimal point" is a property of the number, not of its text in some locale.
    const bool whole = std::isfinite(interval) && std::floor(interval) == interval;
    if (whole)
        return DateDays::format(DateDays::addSeconds(start, offset));
    const QString text = NumberFormat::format(offset, QStringLiteral("0.0"));
    const QString seconds = text.left(text.size() - 2);
    const QString tenths = text.right(1);
    const double wholeSeconds = NumberFormat::parse(seconds).value_or(0.0);
    return DateDays::format(DateDays::addSeconds(start, wholeSeconds)) + QLatin1Char(':') + tenths
         + QStringLiteral("00");
}
