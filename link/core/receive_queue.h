#pragma once

#include <QString>
#include <deque>

// The download's receive side: characters gather in a line buffer until CR; each complete line
// goes to the back of a first-in first-out queue, from which the display takes one line per
// timer tick. Lines that begin with "AH" (the instrument's acknowledgement, also after the LF of
// a CR LF line end) are dropped; the CR itself is never stored.
class ReceiveQueue
{
public:
    // Handles one received character.
    void takeCharacter(QChar c);
    // Handles received bytes, one character per byte.
    void takeBytes(const QByteArray &bytes);

    // smSavBuf: appends a line to the queue.
    void smSavBuf(const QString &line)
    {
        m_lines.push_back(line);
        ++m_received;
    }
    // fInputs: removes and returns the oldest line, or an empty text when the queue is empty.
    QString fInputs();

    // Empties the line buffer and the queue.
    void clear();

    bool isEmpty() const { return m_lines.empty(); }
    size_t size() const { return m_lines.size(); }
    // Lines queued since the last clear().
    int received() const { return m_received; }
    const QString &lineBuffer() const { return m_buffer; }

    // True for an acknowledgement line ("AH" at its start, after an optional LF).
    static bool isAcknowledgement(const QString &line);

private:
    QString m_buffer;
    std::deque<QString> m_lines;
    int m_received = 0;
};
