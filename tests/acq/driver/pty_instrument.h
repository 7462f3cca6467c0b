#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QSocketNotifier;

// A stand-in instrument on a pseudo-terminal for the driver's tests: answers each "V" request
// line with the reply its `reply` function gives for that request (0-based), stays silent or
// talks garbage on request, and can be unplugged.
class PtyInstrument : public QObject
{
    Q_OBJECT
public:
    PtyInstrument();
    ~PtyInstrument() override;

    bool isOpen() const { return m_master >= 0; }
    // The device path the driver opens.
    QString portPath() const { return m_slavePath; }

    // The reply to request i, line end included; an empty reply means silence.
    std::function<QByteArray(int)> reply;
    // Requests seen so far and the replies given, in order.
    int requests() const { return m_requests; }
    const QList<QByteArray> &replies() const { return m_replies; }

    // Closes the terminal's master side: the port vanishes under the driver.
    void unplug();

private:
    void onReadable();

    int m_master = -1;
    int m_slaveKeeper = -1; // keeps the line open while the driver has not opened it
    QString m_slavePath;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_received;
    int m_requests = 0;
    QList<QByteArray> m_replies;
};
