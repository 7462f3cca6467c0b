#pragma once

#include <optional>

// The value axis of a chart fitted to the samples on display: a little headroom above and below
// the samples, the ends rounded outwards to a tidy tick step (1, 2 or 5 times a power of ten).
//
// Rule, for the smallest and largest value on display lo <= hi:
//   pad = 5 % of hi - lo; for a flat page (hi == lo) 10 % of |lo|, or 1 when lo is 0.
//   a = lo - pad, b = hi + pad; a is not taken below 0 when lo >= 0, nor b above 0 when
//   hi <= 0 and lo < 0: values that never go negative get no negative axis and the other way
//   round (all zero gives 0..1).
//   step = the smallest of 1, 2, 5, 10 times a power of ten that is at least (b - a) / 5.
//   lower = a rounded down to a multiple of step, upper = b rounded up to one.
class AxisFit
{
public:
    struct Range
    {
        double lower;
        double upper;
        double step;
    };

    // No value when lo or hi is not a finite number (nothing on display) or lo > hi.
    static std::optional<Range> tidyRange(double lo, double hi);
    // The smallest 1-2-5 step (times a power of ten) at least `rough` (> 0).
    static double tidyStep(double rough);
};
