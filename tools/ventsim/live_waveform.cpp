#include "tools/ventsim/live_waveform.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMeanVelocity = 5.0;
constexpr double kMeanTemperature = 21.0;
constexpr int kMeanPressure = 10132;
constexpr double kMaxDrift = 0.5;

} // namespace

LiveWaveform::LiveWaveform(quint32 seed, bool atmosphere)
    : m_random(seed), m_atmosphere(atmosphere)
{
}

LiveReading LiveWaveform::next(double seconds)
{
    const auto uniform = [this] { return m_random.generateDouble() - 0.5; }; // -0.5 .. 0.5
    m_drift = std::clamp(m_drift + uniform() * 0.02, -kMaxDrift, kMaxDrift);

    LiveReading r;
    r.velocity = kMeanVelocity + 0.6 * std::sin(2 * kPi * seconds / 47.0) + m_drift
        + uniform() * 0.1;
    r.velocity = std::max(0.0, r.velocity);
    r.temperature = kMeanTemperature + 0.3 * std::sin(2 * kPi * seconds / 600.0) + uniform() * 0.1;
    if (m_atmosphere) {
        r.pressureTenths = kMeanPressure + int(std::lround(3 * std::sin(2 * kPi * seconds / 300.0)))
            + int(m_random.bounded(3)) - 1;
        r.flag = 1;
    } else {
        r.pressureTenths = kMeanPressure;
        r.flag = 2;
    }
    return r;
}
