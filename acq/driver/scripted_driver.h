#pragma once

#include "acq/driver/measurement_driver.h"

#include <QStringList>
#include <QTimer>
#include <QVector>
#include <deque>
#include <memory>

// A measurement driver for tests that plays a script: each step is what one poll of the run
// control finds. A step starts at the poll's first call (SampleCnt) and gives that poll's
// SampleCnt, the samples that have come in, and the errstat value. Once started, the driver
// announces the steps one at a time, as a driver whose samples come over time: samplesReady
// (statusChanged for a step that brings a code and no samples) kStepMs after the start for the
// first step, then kStepMs after a poll has taken a step for the next one, and runEnded after the
// last. Everything the run control
// calls is written to a log that outlives the driver (the run control releases its driver at the
// stop).
class ScriptedDriver : public MeasurementDriver
{
    Q_OBJECT
public:
    struct Step
    {
        QStringList samples;         // added to the buffer when the step starts
        qint32 sampleCnt = 0;        // SampleCnt during the step (below 0: "nothing yet")
        qint16 errstat = -10000;     // errstat during the step...
        int errstatAfterReads = -1;  // ...from the start (-1), or once this many Inputs were read
    };

    struct Log
    {
        QStringList calls;             // member names in call order (properties included)
        // The thirteen startmeasu arguments, in order.
        float sampleTime = 0;
        qint32 sampleCount = 0;
        double areas[4] = {0, 0, 0, 0};
        qint16 sampleType = -1;
        qint16 velocityUnit = -1;
        qint16 flowUnit = -1;
        qint16 ductUnit = -1;
        bool simulation = false;
        qint32 baudRate = 0;
        QString port;
        int startCount = 0;
        int stopCount = 0;
        int endCount = 0;
        bool destroyed = false;
    };

    static constexpr int kStepMs = 10;

    explicit ScriptedDriver(QVector<Step> script = {}, double startTime = 41395.0,
                            QObject *parent = nullptr);
    ~ScriptedDriver() override;

    const std::shared_ptr<Log> &log() const { return m_log; }
    // Adds a step at the end of the script.
    void addStep(const Step &step) { m_script.push_back(step); }

    void startmeasu(float &sampleTime, qint32 &sampleCount, double &area1, double &area2,
                    double &area3, double &area4, qint16 &sampleType, qint16 &velocityUnit,
                    qint16 &flowUnit, qint16 &ductUnit, bool &simulation, qint32 &baudRate,
                    QString &port) override;
    double StartTime() override;
    qint32 SampleCnt() override;
    qint32 InBufferCount() override;
    qint16 errstat() override;
    QString Inputs() override;
    void StopMeasu() override;
    void EndVL4402Drv() override;

private:
    void announce();

    QVector<Step> m_script;
    QTimer m_announce;        // announces the next step
    bool m_announced = false; // runEnded was announced
    int m_next = 0;           // index of the next step
    Step m_current;           // the step in force (an empty step after the script's end)
    int m_readsInStep = 0;
    std::deque<QString> m_buffer;
    double m_startTime;
    std::shared_ptr<Log> m_log;
};
