#pragma once

#include "tools/ventsim/instrument_options.h"
#include "tools/ventsim/live_waveform.h"
#include "tools/ventsim/pseudo_terminal.h"
#include "tools/ventsim/record_set.h"
#include "tools/ventsim/wire_format.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <memory>
#include <optional>

class PacedWriter;
class QSocketNotifier;

// The virtual instrument: speaks the instrument's serial exchange on a pseudo-terminal, answers
// only when the port is set to its rate, sends at that rate's character pace, registers itself as
// an attached instrument bridge while it runs, and plays a fault on request. It runs in the event
// loop of the thread that owns it, so a test can run it next to the code under test:
//
//   VirtualInstrument inst(options);
//   ASSERT_TRUE(inst.start());
//   link.fRsAutoConnect(inst.portPath());
class VirtualInstrument : public QObject
{
    Q_OBJECT
public:
    // A command the instrument received, the line speed the port was set to at that moment, and
    // whether it answered.
    struct Command
    {
        QString command;
        qint32 lineBaud = 0;
        bool answered = false;
    };

    explicit VirtualInstrument(const InstrumentOptions &options = InstrumentOptions(),
                               QObject *parent = nullptr);
    ~VirtualInstrument() override;

    // Opens the terminal, makes the link and the registration. False (and *error) on failure;
    // nothing is left behind then.
    bool start(QString *error = nullptr);
    // Closes the terminal and removes the link and the registration. Idempotent.
    void stop();
    // As if the cable were pulled: the port disappears, then unplugged() is emitted.
    void unplug();

    bool isRunning() const { return m_pty.isOpen(); }
    QString portPath() const { return m_pty.slavePath(); }
    QString linkPath() const { return m_linkMade ? m_options.linkPath : QString(); }
    QString registrationFile() const { return m_registration; }
    const InstrumentOptions &options() const { return m_options; }
    const RecordSet &records() const { return m_records; }
    const WireFormat &wire() const { return m_wire; }
    // The rate the instrument sends at, in baud (its own, or 57600 for wrong-baud).
    qint32 sendBaud() const;
    // The speed the program's port is set to now (0 when unknown).
    qint32 lineBaud() const { return m_pty.lineBaud(); }

    const QList<Command> &commands() const { return m_commands; }
    void clearCommands() { m_commands.clear(); }
    // Bytes of replies still waiting to go out.
    qint64 pendingBytes() const;
    // Sends faster (or slower) than the line's character rate, for tests that move a large
    // memory; the rate the port must be set to is unchanged.
    void setCharacterRate(int charactersPerSecond);
    int liveReadingsSent() const { return m_liveReadings; }

signals:
    void commandReceived(const QString &command, qint32 lineBaud, bool answered);
    // The last byte of a reply went out.
    void replySent(const QString &command);
    void unplugged();

private:
    void onReadable();
    void handle(const QString &command, qint32 baud);
    QByteArray reply(const QString &command, bool *unplugInstead);
    void onDrained();
    void removeTraces();

    InstrumentOptions m_options;
    RecordSet m_records;
    WireFormat m_wire;
    LiveWaveform m_waveform;
    QRandomGenerator m_random;
    PseudoTerminal m_pty;
    std::unique_ptr<QSocketNotifier> m_notifier;
    PacedWriter *m_writer = nullptr;
    QByteArray m_input;
    QList<Command> m_commands;
    QElapsedTimer m_clock;
    QString m_registration;
    bool m_linkMade = false;
    QString m_replying;       // the command whose reply is going out
    bool m_unplugWhenDrained = false;
    int m_liveReadings = 0;
    int m_session = 0; // counts starts, so a delayed unplug never hits a later session
};
