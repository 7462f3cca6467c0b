#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// A pseudo-terminal whose slave side is the instrument's port. The instrument reads and writes the
// master side; the programs open the slave's device path like any serial port. The terminal keeps
// a slave descriptor of its own, so the master never sees a hang-up while no program has the port
// open, and sets the line raw so nothing is echoed or translated before a program opens it.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();

    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    bool open(qint32 baud, QString *error);
    void close();
    bool isOpen() const { return m_master >= 0; }

    int masterFd() const { return m_master; }
    QString slavePath() const { return m_slavePath; }

    // The line speed the program set on its end of the port, in baud; 0 when it cannot be read.
    // The master reads the slave's terminal settings, so this is the rate of the program's port.
    qint32 lineBaud() const;

    // Reads what waits on the master without blocking. False when the terminal failed.
    bool readAvailable(QByteArray *out);
    // Writes without blocking; returns the bytes written (0 when the buffer is full), -1 on failure.
    qint64 write(const char *data, qint64 size);

    static qint32 baudFromSpeed(unsigned speed);
    static unsigned speedFromBaud(qint32 baud);

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
