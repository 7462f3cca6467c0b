#include "acq/core/page_math.h"

#include "common/core/number_format.h"

#include <array>
#include <cmath>
#include <limits>

namespace PageMath {

int pagePoints(qint32 range, float sampleTime)
{
    if (!(sampleTime > 0.0f) || !std::isfinite(sampleTime))
        return 0;
    return NumberFormat::roundToInt32(double(range) / double(sampleTime)).value_or(0);
}

double pointX(qint32 k, float sampleTime, double startSecond, float graphTimeStep)
{
    return double(sampleTime) * (double(k) - 1.0) + startSecond + double(graphTimeStep);
}

XWindow xWindow(double origin, qint32 range, float graphTimeStep)
{
    return {origin, double(range) + origin + double(graphTimeStep)};
}

TimeLabel timeLabel(qint32 range)
{
    if (range < 600)
        return TimeLabel::Seconds;
    if (range <= 86400)
        return TimeLabel::Minutes;
    return TimeLabel::DateMinutes;
}

QString timeLabelPattern(TimeLabel label)
{
    switch (label) {
    case TimeLabel::Seconds:
        return QStringLiteral("HH:mm:ss");
    case TimeLabel::Minutes:
        return QStringLiteral("HH:mm");
    case TimeLabel::DateMinutes:
        break;
    }
    return QStringLiteral("MM-dd HH:mm");
}

double timeTickStep(double span, int tickCount)
{
    if (!std::isfinite(span) || span <= 0 || tickCount < 1)
        return 1;
    const double ideal = span / tickCount;
    if (ideal < 1) {
        // 1-2-5 steps in decimal fractions of a second.
        const double magnitude = std::pow(10.0, std::floor(std::log10(ideal)));
        const double mantissa = ideal / magnitude;
        const double clean = mantissa < 1.5 ? 1 : mantissa < 3.5 ? 2 : mantissa < 7.5 ? 5 : 10;
        return clean * magnitude;
    }
    static constexpr std::array<double, 23> kSteps = {
        1, 2, 5, 10, 15, 30,                              // seconds
        60, 120, 300, 600, 900, 1800,                     // minutes
        3600, 7200, 10800, 21600, 43200,                  // hours
        86400, 172800, 432000, 604800, 1209600, 2592000}; // days
    double best = kSteps.front();
    for (double s : kSteps) {
        if (std::abs(s - ideal) < std::abs(best - ideal))
            best = s;
    }
    if (ideal > kSteps.back()) // beyond a month: whole multiples of 30 days
        best = std::ceil(ideal / kSteps.back()) * kSteps.back();
    return best;
}

std::optional<XWindow> forwardJump(double newestX, double currentMaximum, int lastIndex,
                                   int pagePoints, float sampleTime, double startSecond,
                                   float graphTimeStep, double gridSpacing, qint32 range)
{
    if (!(newestX > currentMaximum)) // also false for NaN on either side
        return std::nullopt;
    const double g = std::isfinite(gridSpacing) ? std::nearbyint(gridSpacing) : 0.0;
    const double origin = (double(lastIndex) - double(pagePoints)) * double(sampleTime)
                        + startSecond - double(graphTimeStep);
    return XWindow{origin + g, double(range) + origin + g};
}

namespace {

// (x - firstX) / sampleTime + 1, rounded halves to even; NaN when it cannot be computed.
double roundedIndex(double x, double firstX, float sampleTime)
{
    if (!std::isfinite(x) || !std::isfinite(firstX) || !(sampleTime > 0.0f))
        return std::numeric_limits<double>::quiet_NaN();
    return std::nearbyint((x - firstX) / double(sampleTime) + 1.0);
}

} // namespace

DragIndex dragIndex(double x, double firstX, float sampleTime, int pointCount)
{
    const double idx = roundedIndex(x, firstX, sampleTime);
    if (std::isnan(idx) || pointCount < 1 || idx < 1.0)
        return {};
    if (idx > double(pointCount))
        return {pointCount, false};
    const int index = int(idx); // 1 .. pointCount, exact
    return {index, index > 1};
}

int releaseIndex(double x, double firstX, float sampleTime, int pointCount)
{
    const double idx = roundedIndex(x, firstX, sampleTime);
    if (std::isnan(idx) || pointCount < 1)
        return 0;
    if (idx < 1.0)
        return 1;
    if (idx > double(pointCount))
        return pointCount;
    return int(idx);
}

double autoAxisMaximum(double largest)
{
    if (!std::isfinite(largest) || largest <= 0)
        return 1;
    const double target = largest * 1.05;
    const double magnitude = std::pow(10.0, std::floor(std::log10(target)));
    static constexpr std::array<double, 11> kMantissas = {1, 1.2, 1.5, 2, 2.5, 3, 4, 5, 6, 8, 10};
    for (double m : kMantissas) {
        if (m * magnitude >= target)
            return m * magnitude;
    }
    return 10 * magnitude;
}

} // namespace PageMath
