#include "acq/driver/sample_waveform.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

SampleWaveform::SampleWaveform(quint32 seed) : m_random(seed)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    m_mean = 3.0 + 2.0 * unit(m_random);
    m_phase1 = kTwoPi * unit(m_random);
    m_phase2 = kTwoPi * unit(m_random);
    m_pressurePhase = kTwoPi * unit(m_random);
}

SampleWaveform::Reading SampleWaveform::next(double seconds)
{
    const double swell = 1.2 * std::sin(kTwoPi * seconds / 45.0 + m_phase1);
    const double ripple = 0.5 * std::sin(kTwoPi * seconds / 7.3 + m_phase2);
    const double noise = 0.12 * m_noise(m_random);
    const double velocity = std::max(0.0, m_mean + swell + ripple + noise);
    // 1013.2 hPa, a few tenths up and down over ten minutes.
    const double pressure = 10132.0 + 6.0 * std::sin(kTwoPi * seconds / 600.0 + m_pressurePhase);
    return {velocity, qint32(std::lround(pressure))};
}
