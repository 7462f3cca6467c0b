#include "link/core/receive_queue.h"

#include <QByteArray>

bool ReceiveQueue::isAcknowledgement(const QString &line)
{
    const qsizetype from = line.startsWith(QLatin1Char('\n')) ? 1 : 0;
    return line.mid(from, 2) == QLatin1String("AH");
}

void ReceiveQueue::takeCharacter(QChar c)
{
    if (c != QLatin1Char('\r')) {
        m_buffer += c;
        return;
    }
    if (!isAcknowledgement(m_buffer))
        smSavBuf(m_buffer);
    m_buffer.clear();
}

void ReceiveQueue::takeBytes(const QByteArray &bytes)
{
    for (char b : bytes)
        takeCharacter(QChar(uchar(b)));
}

QString ReceiveQueue::fInputs()
{
    if (m_lines.empty())
        return QString();
    QString line = std::move(m_lines.front());
    m_lines.pop_front();
    return line;
}

void ReceiveQueue::clear()
{
    m_buffer.clear();
    m_lines.clear();
    m_received = 0;
}
