#include "tools/ventsim/instrument_options.h"

#include <algorithm>
#include <array>

namespace {

struct FaultName
{
    InstrumentOptions::Fault fault;
    const char *name;
};

constexpr std::array<FaultName, 7> kFaultNames = {{
    {InstrumentOptions::Fault::None, "none"},
    {InstrumentOptions::Fault::Silent, "silent"},
    {InstrumentOptions::Fault::Garbage, "garbage"},
    {InstrumentOptions::Fault::StopMidDump, "stop-mid-dump"},
    {InstrumentOptions::Fault::UnplugMidDump, "unplug-mid-dump"},
    {InstrumentOptions::Fault::LeadingLf, "leading-lf"},
    {InstrumentOptions::Fault::WrongBaud, "wrong-baud"},
}};

constexpr std::array<qint32, 4> kRates = {38400, 19200, 9600, 4800};

std::optional<qint64> wholeNumber(const QString &text, qint64 minimum, qint64 maximum)
{
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < minimum || v > maximum)
        return std::nullopt;
    return v;
}

} // namespace

QString InstrumentOptions::faultName(Fault fault)
{
    for (const auto &f : kFaultNames) {
        if (f.fault == fault)
            return QLatin1String(f.name);
    }
    return QString();
}

std::optional<InstrumentOptions::Fault> InstrumentOptions::faultFromName(const QString &name)
{
    for (const auto &f : kFaultNames) {
        if (name == QLatin1String(f.name))
            return f.fault;
    }
    return std::nullopt;
}

std::optional<InstrumentOptions> InstrumentOptions::parse(const QStringList &arguments,
                                                          QString *error, bool *help)
{
    InstrumentOptions o;
    if (help)
        *help = false;
    const auto fail = [&](const QString &message) -> std::optional<InstrumentOptions> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    for (int i = 0; i < arguments.size(); ++i) {
        QString name = arguments.at(i);
        QString value;
        bool inlineValue = false;
        const int eq = name.indexOf(QLatin1Char('='));
        if (name.startsWith(QLatin1String("--")) && eq > 2) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            inlineValue = true;
        }
        if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
            if (help)
                *help = true;
            continue;
        }
        if (name == QLatin1String("--no-register")) {
            o.registerBridge = false;
            continue;
        }
        static const QStringList withValue = {
            QStringLiteral("--baud"),     QStringLiteral("--serial"),   QStringLiteral("--link"),
            QStringLiteral("--records"),  QStringLiteral("--atm"),      QStringLiteral("--line-end"),
            QStringLiteral("--ah-lines"), QStringLiteral("--fault"),    QStringLiteral("--seed"),
            QStringLiteral("--fault-after"), QStringLiteral("--registry")};
        if (!withValue.contains(name))
            return fail(QStringLiteral("unknown option %1").arg(arguments.at(i)));
        if (!inlineValue) {
            if (i + 1 >= arguments.size())
                return fail(QStringLiteral("%1 needs a value").arg(name));
            value = arguments.at(++i);
        }
        if (name == QLatin1String("--baud")) {
            const auto v = wholeNumber(value, 1, 1000000);
            if (!v || std::find(kRates.begin(), kRates.end(), qint32(*v)) == kRates.end())
                return fail(QStringLiteral("--baud must be 38400, 19200, 9600 or 4800"));
            o.baud = qint32(*v);
        } else if (name == QLatin1String("--serial")) {
            bool printable = !value.isEmpty() && value.size() <= 64;
            for (const QChar c : value)
                printable = printable && c.unicode() >= 0x20 && c.unicode() < 0x7F;
            if (!printable)
                return fail(QStringLiteral("--serial must be 1 to 64 printable ASCII characters"));
            o.serial = value;
        } else if (name == QLatin1String("--link")) {
            if (value.isEmpty())
                return fail(QStringLiteral("--link needs a path"));
            o.linkPath = value;
        } else if (name == QLatin1String("--registry")) {
            o.registryFolder = value;
        } else if (name == QLatin1String("--records")) {
            if (value.isEmpty())
                return fail(QStringLiteral("--records needs small, 1000, 10000 or a file"));
            o.records = value;
        } else if (name == QLatin1String("--atm")) {
            if (value != QLatin1String("on") && value != QLatin1String("off"))
                return fail(QStringLiteral("--atm must be on or off"));
            o.atm = value == QLatin1String("on");
        } else if (name == QLatin1String("--line-end")) {
            if (value == QLatin1String("crlf"))
                o.lineEnd = LineEnd::CrLf;
            else if (value == QLatin1String("cr"))
                o.lineEnd = LineEnd::Cr;
            else
                return fail(QStringLiteral("--line-end must be crlf or cr"));
        } else if (name == QLatin1String("--ah-lines")) {
            const auto v = wholeNumber(value, 0, 99);
            if (!v)
                return fail(QStringLiteral("--ah-lines must be 0 to 99"));
            o.ahLines = int(*v);
        } else if (name == QLatin1String("--fault")) {
            const auto f = faultFromName(value);
            if (!f)
                return fail(QStringLiteral("unknown fault %1").arg(value));
            o.fault = *f;
        } else if (name == QLatin1String("--fault-after")) {
            const auto v = wholeNumber(value, 0, 1000000);
            if (!v)
                return fail(QStringLiteral("--fault-after must be 0 or more"));
            o.faultAfter = int(*v);
        } else if (name == QLatin1String("--seed")) {
            const auto v = wholeNumber(value, 0, 0xFFFFFFFFLL);
            if (!v)
                return fail(QStringLiteral("--seed must be 0 to 4294967295"));
            o.seed = quint32(*v);
        }
    }
    return o;
}

QString InstrumentOptions::helpText()
{
    return QStringLiteral(
        "Usage: ventsim [options]\n"
        "\n"
        "A virtual Ventolux instrument on a pseudo-terminal. It prints the device path of its\n"
        "port on the first line of standard output, registers itself as an attached instrument\n"
        "(USB vendor 1764, product 8) so that ventacq and ventlink list it like a plugged-in one,\n"
        "and runs until it is interrupted (Ctrl+C) or terminated; then it removes its\n"
        "registration and its link.\n"
        "\n"
        "Options:\n"
        "  --baud RATE        38400, 19200, 9600 or 4800 (default 19200, the USB instrument's\n"
        "                     rate). The instrument answers only when the port is set to this\n"
        "                     rate, and sends at its character rate (RATE / 10 per second).\n"
        "  --serial TEXT      serial number of the bridge (default J0012345; the programs show it\n"
        "                     without a leading J, C or U).\n"
        "  --link PATH        also make PATH a symbolic link to the device while running.\n"
        "  --no-register      do not register as an attached instrument.\n"
        "  --registry DIR     folder of the registrations (default ventolux/bridges in the\n"
        "                     runtime folder: $XDG_RUNTIME_DIR, or /tmp/runtime-USER when it\n"
        "                     is not set). Made owner-only (0700, files 0600); the programs\n"
        "                     read only the default folder, and only when no one else owns\n"
        "                     or may write it.\n"
        "  --records SET      memory to send on a dump: small (4 groups, 8 readings), 1000 or\n"
        "                     10000 readings, or a file (see below). Default small.\n"
        "  --atm on|off       group lines with atmospheric pressure and flag (on, default) or\n"
        "                     with the type in their last five characters (off). Live readings\n"
        "                     carry flag 2 (fixed value) when off.\n"
        "  --line-end crlf|cr line ends (default crlf). The programs drop the first character of\n"
        "                     the unit reply and of each record line: with crlf that is the LF of\n"
        "                     the line before; with cr the instrument puts a '*' there instead.\n"
        "  --ah-lines N       \"AH\" lines before the records of a dump (default 1).\n"
        "  --fault NAME       play a fault:\n"
        "                       silent           never answer\n"
        "                       garbage          answer every command with random bytes\n"
        "                       stop-mid-dump    stop sending in the middle of a record line\n"
        "                       unplug-mid-dump  close the port in the middle of a dump, or\n"
        "                                        instead of a live reading, and end\n"
        "                       leading-lf       begin every reply with an LF\n"
        "                       wrong-baud       run at 57600 baud: every reply arrives as line\n"
        "                                        noise at whatever rate the port is set to\n"
        "  --fault-after N    record lines sent before stop-mid-dump or unplug-mid-dump strikes\n"
        "                     (default half the dump), live readings before an unplug (default 10).\n"
        "  --seed N           seed of the live readings and of the garbage (default 1).\n"
        "  --help             this text.\n"
        "\n"
        "The exchange (every command is one letter followed by CR LF):\n"
        "  P   presence: \"AP\" and the serial number, then the firmware line.\n"
        "  U   units: \"AU\", then the unit reply velocity;flow;pressure;temperature letter.\n"
        "  H   memory dump: the \"AH\" lines, the record lines, and a last line \"/\".\n"
        "  V   live reading: AV;<velocity m/s, 0.00>;<temperature deg.C, 0.0>;\n"
        "      <pressure, tenths of hPa>;<flag: 1 measured, 2 fixed, 3 sensor error, 0 none>\n"
        "\n"
        "Record file: one record per line, '#' starts a comment.\n"
        "  units m/s;m3/h;Pa;C                    the unit reply (optional)\n"
        "  001;300;200;mm;VEL;10132;1              a group: number;X;Y;inch/mm;type\n"
        "                                          [;pressure in tenths of hPa;flag]\n"
        "  001;3.25;21.5                           a reading: number;value;temperature\n"
        "  Types are VEL, AFLOW and PRESS.\n");
}
