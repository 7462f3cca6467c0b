#pragma once

#include <QtGlobal>
#include <random>

// The readings of the simulated instrument: a slow swell and a faster ripple around a mean air
// velocity with a little noise, and an atmospheric pressure wandering around 1013 hPa. The same
// seed gives the same sequence, so demos and tests are repeatable.
class SampleWaveform
{
public:
    static constexpr quint32 kDefaultSeed = 4402;

    explicit SampleWaveform(quint32 seed = kDefaultSeed);

    struct Reading
    {
        double velocity;      // m/s, never negative
        qint32 pressureTenths; // tenths of a hPa
    };

    // The reading at `seconds` from the start; call with increasing times (the noise is drawn in
    // sequence).
    Reading next(double seconds);

private:
    std::mt19937 m_random;
    std::normal_distribution<double> m_noise{0.0, 1.0};
    double m_mean;
    double m_phase1;
    double m_phase2;
    double m_pressurePhase;
};
