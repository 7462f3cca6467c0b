#include "tools/ventsim/paced_writer.h"

#include <algorithm>

namespace {
constexpr int kTickMs = 4;
}

PacedWriter::PacedWriter(Sink sink, int charactersPerSecond, QObject *parent)
    : QObject(parent), m_sink(std::move(sink)), m_rate(std::max(1, charactersPerSecond))
{
    m_tick.setTimerType(Qt::PreciseTimer);
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, &PacedWriter::pump);
}

void PacedWriter::setRate(int charactersPerSecond)
{
    m_rate = std::max(1, charactersPerSecond);
    m_burst.restart();
    m_sentInBurst = 0;
}

void PacedWriter::send(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    if (pending() == 0) {
        m_queue.clear();
        m_offset = 0;
        m_burst.start();
        m_sentInBurst = 0;
    }
    m_queue.append(bytes);
    pump();
    if (pending() > 0 && !m_tick.isActive())
        m_tick.start();
}

void PacedWriter::clear()
{
    m_queue.clear();
    m_offset = 0;
    m_tick.stop();
}

void PacedWriter::pump()
{
    if (pending() == 0) {
        m_tick.stop();
        return;
    }
    // The first character of a burst goes at once, then one per character time.
    const qint64 allowed = 1 + m_burst.nsecsElapsed() * m_rate / 1000000000LL;
    const qint64 due = std::min(allowed - m_sentInBurst, pending());
    if (due <= 0)
        return;
    const qint64 written = m_sink(m_queue.constData() + m_offset, due);
    if (written < 0) {
        clear();
        emit failed();
        return;
    }
    m_offset += written;
    m_sentInBurst += written;
    if (written < due) {
        // The line is full (nobody reads): start afresh when it drains instead of catching up
        // faster than the line could carry.
        m_burst.restart();
        m_sentInBurst = 0;
    }
    if (pending() == 0) {
        m_queue.clear();
        m_offset = 0;
        m_tick.stop();
        emit drained();
    }
}
