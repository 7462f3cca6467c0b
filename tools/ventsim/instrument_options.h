#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

// How a virtual instrument behaves: its rate, identity, memory, line ends and the fault it plays.
struct InstrumentOptions
{
    enum class LineEnd { CrLf, Cr };
    enum class Fault { None, Silent, Garbage, StopMidDump, UnplugMidDump, LeadingLf, WrongBaud };

    static constexpr quint16 kVendorId = 0x1764;
    static constexpr quint16 kProductId = 0x0008;
    // The rate of a wrong-baud instrument: one the programs never try.
    static constexpr qint32 kWrongBaud = 57600;

    qint32 baud = 19200;
    QString serial = QStringLiteral("J0012345");
    QString linkPath;          // a symlink to the device, made while the instrument runs
    bool registerBridge = true;
    QString registryFolder;    // empty: the default folder of the bridge registry
    QString records = QStringLiteral("small"); // small, 1000, 10000 or a file
    bool atm = true;           // group lines carry pressure and flag
    LineEnd lineEnd = LineEnd::CrLf;
    int ahLines = 1;           // "AH" lines before the records of a dump
    Fault fault = Fault::None;
    // For stop-mid-dump and unplug-mid-dump: the record lines sent whole before the fault (-1:
    // half the dump), and for unplug the live readings answered before it (-1: 10).
    int faultAfter = -1;
    quint32 seed = 1;

    // Parses the command line (without the program name). On failure returns no value and sets
    // *error. `--help` sets *help and returns the defaults.
    static std::optional<InstrumentOptions> parse(const QStringList &arguments, QString *error,
                                                  bool *help = nullptr);
    static QString helpText();
    static QString faultName(Fault fault);
    static std::optional<Fault> faultFromName(const QString &name);
};
