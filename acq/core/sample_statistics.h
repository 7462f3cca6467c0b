#pragma once

#include <QStringView>
#include <limits>

// Count, minimum, maximum, mean and standard deviation of one column of samples, taken one
// sample at a time at constant cost. A sample whose text is not a number (an error or a blank
// reading) is a gap: it is counted apart and left out of every figure.
//
// The mean and the sum of squared deviations follow Welford's update, so a long run of nearly
// equal values keeps its spread exactly where summing squares would cancel it away. The standard
// deviation is that of a sample (divided by count - 1), as a spreadsheet's STDEV gives it.
class SampleStatistics
{
public:
    static constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

    // A value; NaN or an infinity is a gap.
    void add(double value);
    // The text of a sample: its number, or a gap. The decimals of the numbers are remembered, so
    // the figures can be written as the samples are.
    void addText(QStringView text);

    int count() const { return m_count; }
    int gaps() const { return m_gaps; }
    // NaN when there is no number (the standard deviation: fewer than two).
    double minimum() const { return m_count > 0 ? m_min : kNone; }
    double maximum() const { return m_count > 0 ? m_max : kNone; }
    double mean() const { return m_count > 0 ? m_mean : kNone; }
    double standardDeviation() const;
    // The most decimals written in any of the numbers added as text.
    int decimals() const { return m_decimals; }

private:
    int m_count = 0;
    int m_gaps = 0;
    double m_min = 0;
    double m_max = 0;
    double m_mean = 0;
    double m_m2 = 0; // sum of squared deviations from the mean
    int m_decimals = 0;
};
