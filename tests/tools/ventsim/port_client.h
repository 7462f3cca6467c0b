#pragma once

// A program's end of a virtual instrument's port, for tests: open at a rate, send, and collect
// what comes back with the event loop running (so an instrument in the same thread answers).
#include <QByteArray>
#include <QSerialPort>
#include <QTest>
#include <functional>

namespace venttest {

class PortClient
{
public:
    bool open(const QString &path, qint32 baud)
    {
        port.setPortName(path);
        port.setBaudRate(baud);
        port.setFlowControl(QSerialPort::NoFlowControl);
        if (!port.open(QIODevice::ReadWrite))
            return false;
        port.clear(QSerialPort::Input);
        return true;
    }

    void send(const QByteArray &bytes)
    {
        received.clear();
        port.write(bytes);
        port.flush();
    }

    // Collects until `done` holds for what came so far, or `timeoutMs` passed.
    QByteArray readUntil(const std::function<bool(const QByteArray &)> &done, int timeoutMs)
    {
        (void)QTest::qWaitFor([&] { return done(received += port.readAll()); }, timeoutMs);
        return received += port.readAll();
    }
    QByteArray readUntilEndsWith(const QByteArray &tail, int timeoutMs = 5000)
    {
        return readUntil([&](const QByteArray &b) { return b.endsWith(tail); }, timeoutMs);
    }

    QSerialPort port;
    QByteArray received;
};

} // namespace venttest
