#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// The arithmetic of the two data panels: points per page, the X value of a sample, the chart's
// time window and its label format, the forward jump while a run proceeds, and the sample index
// under the mouse. No widgets here; the panels call these and show the result.
//
// X values are seconds from midnight of the day the chart's time axis was set up; sample k of a
// run sits at sampleTime x (k - 1) + startSecond + graphTimeStep.
namespace PageMath {

// The fixed base of the page scroll bars: scroll position p stands for page start p - base.
constexpr int kScrollBase = -32750;

// Samples per page: range / sampleTime rounded to the nearest whole number, halves to even
// (5 / 2 = 2.5 gives 2, 7 / 2 = 3.5 gives 4). 0 when the interval is not a positive number or the
// quotient does not fit.
int pagePoints(qint32 range, float sampleTime);

// X of sample k (1-based).
double pointX(qint32 k, float sampleTime, double startSecond, float graphTimeStep);

struct XWindow
{
    double minimum = 0;
    double maximum = 0;
};

// The chart window from an X origin: origin .. origin + range + graphTimeStep.
XWindow xWindow(double origin, qint32 range, float graphTimeStep);

// Label form of the time axis by range: below 600 s hours, minutes and seconds; up to one day
// (86400 s included) hours and minutes; beyond that month, day, hours and minutes.
enum class TimeLabel { Seconds, Minutes, DateMinutes };
TimeLabel timeLabel(qint32 range);
// The Qt date-time pattern of a label form: "HH:mm:ss", "HH:mm", "MM-dd HH:mm".
QString timeLabelPattern(TimeLabel label);

// Spacing of the major ticks of a time axis showing `span` seconds with about `tickCount`
// intervals: the clock step (1, 2, 5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min, 1, 2, 3, 6, 12 h,
// 1, 2, 5, 7, 14, 30 days) nearest the ideal one; below one second a 1-2-5 decimal step.
double timeTickStep(double span, int tickCount = 5);

// The forward jump while a run proceeds. When the newest sample's X lies beyond the current
// window maximum (strictly), the new window is origin' + g .. origin' + g + range with
// origin' = (lastIndex - pagePoints) x sampleTime + startSecond - graphTimeStep and g the grid
// spacing the chart draws, rounded to whole seconds. No jump for a NaN X.
std::optional<XWindow> forwardJump(double newestX, double currentMaximum, int lastIndex,
                                   int pagePoints, float sampleTime, double startSecond,
                                   float graphTimeStep, double gridSpacing, qint32 range);

// The sample under the mouse while a button is held. x is the data X of the mouse position
// (NaN outside the plot), firstX the X of sample 1, pointCount the samples plotted. The index is
// computed and clamped as a double before it becomes an integer: above pointCount it is
// pointCount, below 1 (or for a NaN position) it is 0, meaning "no sample". moveMarker tells
// whether the marker follows the mouse (index above 1 and not clamped).
struct DragIndex
{
    int index = 0;
    bool moveMarker = false;
};
DragIndex dragIndex(double x, double firstX, float sampleTime, int pointCount);

// The sample chosen when the button is released: as above, but clamped into 1..pointCount;
// 0 for a NaN position or when nothing is plotted.
int releaseIndex(double x, double firstX, float sampleTime, int pointCount);

// The upper end of an automatic value axis that starts at 0: a round number at least 5 % above
// the largest value (1, 1.2, 1.5, 2, 2.5, 3, 4, 5, 6, 8 times a power of ten); 1 when there is
// no positive value.
double autoAxisMaximum(double largest);

} // namespace PageMath
