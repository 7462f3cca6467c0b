#pragma once

#include <QByteArray>
#include <QRandomGenerator>
#include <QtGlobal>

// One live reading of the instrument.
struct LiveReading
{
    double velocity = 0;       // m/s
    double temperature = 0;    // deg.C
    int pressureTenths = 0;    // tenths of hPa
    int flag = 1;              // 1 measured, 2 fixed value, 3 sensor error, 0 none
};

// Live readings from a seeded waveform: a steady flow around 5 m/s with a slow swing, a slow
// drift and a little noise; about 21 deg.C; 1013.2 hPa give or take a few tenths. The same seed
// and the same times give the same readings.
class LiveWaveform
{
public:
    explicit LiveWaveform(quint32 seed, bool atmosphere = true);

    // The reading at `seconds` since the instrument started. Calls are expected in time order.
    LiveReading next(double seconds);

private:
    QRandomGenerator m_random;
    bool m_atmosphere;
    double m_drift = 0;
};
