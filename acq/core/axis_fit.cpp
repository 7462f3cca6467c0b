#include "acq/core/axis_fit.h"

#include <cmath>

namespace {

constexpr double kHeadroom = 0.05;    // share of the span added above and below
constexpr double kFlatHeadroom = 0.1; // share of the value when every sample is the same
constexpr double kIntervals = 5;      // about as many tick intervals as this
constexpr double kSlack = 1e-9;       // in steps: 0.3 / 0.1 must not round down to 2

} // namespace

double AxisFit::tidyStep(double rough)
{
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0}) {
        if (m * power >= rough * (1 - kSlack))
            return m * power;
    }
    return 10 * power;
}

std::optional<AxisFit::Range> AxisFit::tidyRange(double lo, double hi)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || lo > hi)
        return std::nullopt;
    double pad = (hi - lo) * kHeadroom;
    if (!(pad > 0))
        pad = lo != 0 ? std::fabs(lo) * kFlatHeadroom : 1;
    double a = lo - pad;
    double b = hi + pad;
    if (lo >= 0 && a < 0)
        a = 0;
    if (hi <= 0 && lo < 0 && b > 0)
        b = 0;
    const double step = tidyStep((b - a) / kIntervals);
    Range r;
    r.step = step;
    r.lower = std::floor(a / step + kSlack) * step;
    r.upper = std::ceil(b / step - kSlack) * step;
    if (!(r.upper > r.lower)) // a span lost below the precision of the numbers
        return std::nullopt;
    return r;
}
