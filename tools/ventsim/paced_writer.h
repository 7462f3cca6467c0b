#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

// Sends bytes at a serial line's character rate: a burst starts at once and then never gets ahead
// of `charactersPerSecond` (for 8N1, a tenth of the baud rate). Writing is done by a function, so
// the writer serves a pseudo-terminal or a test's buffer alike. The clock runs only while bytes
// wait.
class PacedWriter : public QObject
{
    Q_OBJECT
public:
    // Writes up to `size` bytes; returns how many it took, 0 when the line is full for now, -1
    // when the line is gone.
    using Sink = std::function<qint64(const char *data, qint64 size)>;

    PacedWriter(Sink sink, int charactersPerSecond, QObject *parent = nullptr);

    void setRate(int charactersPerSecond);
    int rate() const { return m_rate; }

    // Appends bytes to what waits.
    void send(const QByteArray &bytes);
    // Drops what waits (a new command replaces the reply that was still going out).
    void clear();
    qint64 pending() const { return m_queue.size() - m_offset; }

signals:
    // The last waiting byte went out.
    void drained();
    // The sink failed; what waited is dropped.
    void failed();

private:
    void pump();

    Sink m_sink;
    int m_rate;
    QByteArray m_queue;
    qint64 m_offset = 0;
    QTimer m_tick;
    QElapsedTimer m_burst;
    qint64 m_sentInBurst = 0;
};
