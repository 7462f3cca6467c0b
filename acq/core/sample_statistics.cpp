#include "acq/core/sample_statistics.h"

#include "common/core/number_format.h"

#include <cmath>

void SampleStatistics::add(double value)
{
    if (!std::isfinite(value)) {
        ++m_gaps;
        return;
    }
    ++m_count;
    if (m_count == 1) {
        m_min = m_max = m_mean = value;
        m_m2 = 0;
        return;
    }
    if (value < m_min)
        m_min = value;
    if (value > m_max)
        m_max = value;
    const double delta = value - m_mean;
    m_mean += delta / double(m_count);
    m_m2 += delta * (value - m_mean);
}

void SampleStatistics::addText(QStringView text)
{
    const std::optional<double> value = NumberFormat::parse(text);
    if (!value) {
        ++m_gaps;
        return;
    }
    add(*value);
    // Decimals: the digits between the point and an exponent or the end ("3.25" has 2).
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0) {
        int digits = 0;
        for (qsizetype i = point + 1; i < text.size() && text[i].isDigit(); ++i)
            ++digits;
        if (digits > m_decimals)
            m_decimals = digits;
    }
}

double SampleStatistics::standardDeviation() const
{
    if (m_count < 2)
        return kNone;
    return std::sqrt(m_m2 / double(m_count - 1));
}
