#include "acq/driver/scripted_driver.h"

#include "common/core/status_codes.h"

ScriptedDriver::ScriptedDriver(QVector<Step> script, double startTime, QObject *parent)
    : MeasurementDriver(parent), m_script(std::move(script)), m_startTime(startTime),
      m_log(std::make_shared<Log>())
{
    m_announce.setSingleShot(true);
    m_announce.setInterval(kStepMs);
    connect(&m_announce, &QTimer::timeout, this, &ScriptedDriver::announce);
}

void ScriptedDriver::announce()
{
    if (m_next < m_script.size()) {
        const Step &step = m_script.at(m_next);
        if (step.samples.isEmpty() && step.errstat != status::kSuccess)
            Q_EMIT statusChanged();
        else
            Q_EMIT samplesReady();
    } else if (!m_announced) {
        m_announced = true;
        Q_EMIT runEnded();
    }
}

ScriptedDriver::~ScriptedDriver()
{
    m_log->destroyed = true;
}

void ScriptedDriver::startmeasu(float &sampleTime, qint32 &sampleCount, double &area1,
                                double &area2, double &area3, double &area4, qint16 &sampleType,
                                qint16 &velocityUnit, qint16 &flowUnit, qint16 &ductUnit,
                                bool &simulation, qint32 &baudRate, QString &port)
{
    Log &l = *m_log;
    l.calls << QStringLiteral("startmeasu");
    l.sampleTime = sampleTime;
    l.sampleCount = sampleCount;
    l.areas[0] = area1;
    l.areas[1] = area2;
    l.areas[2] = area3;
    l.areas[3] = area4;
    l.sampleType = sampleType;
    l.velocityUnit = velocityUnit;
    l.flowUnit = flowUnit;
    l.ductUnit = ductUnit;
    l.simulation = simulation;
    l.baudRate = baudRate;
    l.port = port;
    ++l.startCount;
    m_announce.start();
}

double ScriptedDriver::StartTime()
{
    m_log->calls << QStringLiteral("StartTime");
    return m_startTime;
}

qint32 ScriptedDriver::SampleCnt()
{
    m_log->calls << QStringLiteral("SampleCnt");
    if (m_next < m_script.size()) {
        m_current = m_script.at(m_next++);
        for (const QString &s : m_current.samples)
            m_buffer.push_back(s);
    } else {
        // After the script: no more samples, nothing wrong, SampleCnt as it was.
        const qint32 count = m_current.sampleCnt;
        m_current = Step();
        m_current.sampleCnt = count;
    }
    m_readsInStep = 0;
    if (m_log->startCount > 0 && m_log->stopCount == 0)
        m_announce.start();
    return m_current.sampleCnt;
}

qint32 ScriptedDriver::InBufferCount()
{
    m_log->calls << QStringLiteral("InBufferCount");
    return qint32(m_buffer.size());
}

qint16 ScriptedDriver::errstat()
{
    m_log->calls << QStringLiteral("errstat");
    if (m_current.errstatAfterReads < 0 || m_readsInStep >= m_current.errstatAfterReads)
        return m_current.errstat;
    return status::kSuccess;
}

QString ScriptedDriver::Inputs()
{
    m_log->calls << QStringLiteral("Inputs");
    ++m_readsInStep;
    if (m_buffer.empty())
        return QString();
    QString s = m_buffer.front();
    m_buffer.pop_front();
    return s;
}

void ScriptedDriver::StopMeasu()
{
    m_log->calls << QStringLiteral("StopMeasu");
    ++m_log->stopCount;
    m_announce.stop();
}

void ScriptedDriver::EndVL4402Drv()
{
    m_log->calls << QStringLiteral("EndVL4402Drv");
    ++m_log->endCount;
}
