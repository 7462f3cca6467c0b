#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// The measurement driver: reads the instrument (or simulates it) for one run of ventacq.
// The run control starts one for every run, calls these members in this order and ends it at the
// stop. None of the calls blocks; samples are gathered in the background by the event loop.
//
// The driver says when there is something to fetch: samplesReady() when samples have come into
// its buffer, statusChanged() when errstat() has a new value to report, runEnded() when it takes no
// more samples (the requested count is reached or a fault stopped it). The run control polls once
// for each such signal (signals that come close together share one poll), so between samples the
// program sleeps. The signals may be emitted from inside any member; listeners queue their work.
//
// Contract (tested for every implementation):
// - StartTime() is whole seconds (a day number, see DateDays);
// - SampleCnt() >= 0 during a run; a value below 0 makes the poll do nothing;
// - samples come out of Inputs() in order, never more than the requested count;
// - loss of the instrument becomes errstat() 3 (port) or 4 (time-out), a malformed reply 6;
// - StopMeasu() and EndVL4402Drv() may be called any number of times.
class MeasurementDriver : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    ~MeasurementDriver() override = default;

    // The thirteen arguments, in this order: sampling time (s), sample count, the duct area four
    // times (one per channel, all the same), sample type (0 instant, 1 average), velocity unit,
    // flow unit, duct unit, simulation, baud rate, and the port (its device path).
    virtual void startmeasu(float &sampleTime, qint32 &sampleCount, double &area1, double &area2,
                            double &area3, double &area4, qint16 &sampleType,
                            qint16 &velocityUnit, qint16 &flowUnit, qint16 &ductUnit,
                            bool &simulation, qint32 &baudRate, QString &port) = 0;
    // The moment sampling started, as a day number (days since 1899-12-30, whole seconds).
    virtual double StartTime() = 0;
    virtual qint32 SampleCnt() = 0;
    // Samples waiting to be read with Inputs().
    virtual qint32 InBufferCount() = 0;
    // -10000 when all is well, else a status code.
    virtual qint16 errstat() = 0;
    // The next waiting sample as text: "velocity,flow,pressure in tenths of hPa,flag".
    virtual QString Inputs() = 0;
    virtual void StopMeasu() = 0;
    virtual void EndVL4402Drv() = 0;

Q_SIGNALS:
    void samplesReady();
    void statusChanged();
    void runEnded();
};
