#pragma once

#include <QString>
#include <limits>
#include <vector>

// One data series of a panel chart: points 1..pointCount with their own X and Y values. A hole
// (a point with no value) has NaN for Y; freshly prepared points are holes with no X either.
// Sample k of a run is point k. The largest Y is kept as points arrive, so an automatic axis never
// looks at the whole run.
class ChartSeries
{
public:
    // The Y of a sample text: its number, or NaN (a gap) when the text is not a number.
    static double valueOf(const QString &text);

    // pointCount hole points.
    void reset(int pointCount);

    int pointCount() const { return int(m_x.size()); }
    // Sets point k and makes k the last point (the point count becomes k).
    void setPoint(int k, double x, double y);

    // X and Y of point k; NaN outside 1..pointCount.
    double x(int k) const;
    double y(int k) const;

    // Whether point k carries a sample (it has an X): the points a marker may stand on.
    bool isPlotted(int k) const;
    // The number of leading points that carry samples: the count of a run's plotted points
    // (0 for prepared data).
    int plottedCount() const { return m_plotted; }

    // Largest finite Y; NaN when there is none.
    double maximumY() const { return m_maxY; }

    // Smallest and largest finite Y of the plotted points with xFrom <= X <= xTo (the page on
    // display); both NaN when there is none. The plotted points are taken in X order, as a run
    // gives them, so only the points of the page are looked at.
    struct Extent
    {
        double minimum;
        double maximum;
    };
    Extent extentY(double xFrom, double xTo) const;

private:
    void recount();

    std::vector<double> m_x;
    std::vector<double> m_y;
    int m_plotted = 0;
    double m_maxY = std::numeric_limits<double>::quiet_NaN();
};
