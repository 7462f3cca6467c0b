#include "tools/ventsim/virtual_instrument.h"

#include "common/core/virtual_bridge_registry.h"
#include "tools/ventsim/line_noise.h"
#include "tools/ventsim/paced_writer.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int kBitsPerCharacter = 10; // 8N1
constexpr int kDefaultLiveReadingsBeforeUnplug = 10;
constexpr int kMinGarbage = 16;
constexpr int kMaxGarbage = 256;
constexpr int kMaxCommandLength = 256;
constexpr int kUnplugDelayMs = 100;
// Mixes the seed so the garbage does not repeat the live readings' random numbers.
constexpr quint32 kGarbageSeedMix = 0x9E3779B9u;

} // namespace

VirtualInstrument::VirtualInstrument(const InstrumentOptions &options, QObject *parent)
    : QObject(parent),
      m_options(options),
      m_records(RecordSet::small()),
      m_wire(options.lineEnd, options.atm, options.ahLines),
      m_waveform(options.seed, options.atm),
      m_random(options.seed ^ kGarbageSeedMix)
{
    m_writer = new PacedWriter([this](const char *data, qint64 size) { return m_pty.write(data, size); },
                               sendBaud() / kBitsPerCharacter, this);
    connect(m_writer, &PacedWriter::drained, this, &VirtualInstrument::onDrained);
}

VirtualInstrument::~VirtualInstrument()
{
    stop();
}

qint32 VirtualInstrument::sendBaud() const
{
    return m_options.fault == InstrumentOptions::Fault::WrongBaud ? InstrumentOptions::kWrongBaud
                                                                   : m_options.baud;
}

qint64 VirtualInstrument::pendingBytes() const
{
    return m_writer->pending();
}

void VirtualInstrument::setCharacterRate(int charactersPerSecond)
{
    m_writer->setRate(charactersPerSecond);
}

bool VirtualInstrument::start(QString *error)
{
    stop();
    QString why;
    const auto fail = [&](const QString &message) {
        if (error)
            *error = message;
        stop();
        return false;
    };
    const auto records = RecordSet::load(m_options.records, &why);
    if (!records)
        return fail(why);
    m_records = *records;
    if (!m_pty.open(m_options.baud, &why))
        return fail(why);
    m_notifier = std::make_unique<QSocketNotifier>(m_pty.masterFd(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &VirtualInstrument::onReadable);

    if (!m_options.linkPath.isEmpty()) {
        const QFileInfo link(m_options.linkPath);
        if (link.isSymLink())
            QFile::remove(m_options.linkPath);
        else if (link.exists())
            return fail(QStringLiteral("%1 exists and is not a link").arg(m_options.linkPath));
        if (!QFile::link(portPath(), m_options.linkPath))
            return fail(QStringLiteral("cannot make the link %1").arg(m_options.linkPath));
        m_linkMade = true;
    }
    if (m_options.registerBridge) {
        const QString folder = m_options.registryFolder.isEmpty()
            ? VirtualBridgeRegistry::defaultFolder()
            : m_options.registryFolder;
        VirtualBridgeRegistry::removeStale(folder);
        BridgeInfo bridge;
        bridge.vendorId = InstrumentOptions::kVendorId;
        bridge.productId = InstrumentOptions::kProductId;
        bridge.serialNumber = m_options.serial;
        bridge.portPath = portPath();
        m_registration = VirtualBridgeRegistry::add(folder, bridge,
                                                    QCoreApplication::applicationPid(), &why);
        if (m_registration.isEmpty())
            return fail(folder.isEmpty()
                            ? QStringLiteral("cannot register: %1").arg(why)
                            : QStringLiteral("cannot register in %1: %2").arg(folder, why));
    }
    m_clock.start();
    ++m_session;
    return true;
}

void VirtualInstrument::stop()
{
    if (m_notifier) {
        // May run inside the notifier's own signal (a command that unplugs).
        m_notifier->setEnabled(false);
        m_notifier.release()->deleteLater();
    }
    m_writer->clear();
    m_pty.close();
    removeTraces();
    m_input.clear();
    m_replying.clear();
    m_unplugWhenDrained = false;
}

void VirtualInstrument::unplug()
{
    if (!isRunning())
        return;
    stop();
    emit unplugged();
}

void VirtualInstrument::removeTraces()
{
    if (!m_registration.isEmpty()) {
        VirtualBridgeRegistry::remove(m_registration);
        m_registration.clear();
    }
    if (m_linkMade) {
        if (QFileInfo(m_options.linkPath).isSymLink()
            && QFile::symLinkTarget(m_options.linkPath) == portPath())
            QFile::remove(m_options.linkPath);
        m_linkMade = false;
    }
}

void VirtualInstrument::onReadable()
{
    QByteArray data;
    if (!m_pty.readAvailable(&data)) {
        unplug();
        return;
    }
    // The rate the program's port is set to as the command arrives.
    const qint32 baud = m_pty.lineBaud();
    m_input.append(data);
    for (;;) {
        if (!isRunning())
            return;
        qsizetype end = -1;
        for (qsizetype i = 0; i < m_input.size(); ++i) {
            if (m_input.at(i) == '\r' || m_input.at(i) == '\n') {
                end = i;
                break;
            }
        }
        if (end < 0)
            break;
        const QString command = QString::fromLatin1(m_input.left(end)).trimmed();
        m_input.remove(0, end + 1);
        if (!command.isEmpty())
            handle(command, baud);
    }
    if (m_input.size() > kMaxCommandLength)
        m_input.clear();
}

void VirtualInstrument::handle(const QString &command, qint32 baud)
{
    Command c{command, baud, false};
    const bool rateMatches = m_options.fault == InstrumentOptions::Fault::WrongBaud
        || baud == m_options.baud;
    bool unplugInstead = false;
    QByteArray bytes;
    if (m_options.fault != InstrumentOptions::Fault::Silent && rateMatches)
        bytes = reply(command, &unplugInstead);
    if (unplugInstead) {
        m_commands.append(c);
        emit commandReceived(c.command, c.lineBaud, false);
        unplug();
        return;
    }
    if (!bytes.isEmpty()) {
        c.answered = true;
        // A new command replaces a reply that is still going out.
        m_writer->clear();
        m_replying = command;
        m_writer->send(bytes);
    }
    m_commands.append(c);
    emit commandReceived(c.command, c.lineBaud, c.answered);
}

QByteArray VirtualInstrument::reply(const QString &command, bool *unplugInstead)
{
    using Fault = InstrumentOptions::Fault;
    const Fault fault = m_options.fault;
    QList<QByteArray> lines;
    m_unplugWhenDrained = false;
    if (command == QLatin1String("P")) {
        lines = m_wire.presenceReply(m_options.serial);
    } else if (command == QLatin1String("U")) {
        lines = m_wire.unitReply(m_records.units());
    } else if (command == QLatin1String("H")) {
        lines = m_wire.dumpLines(m_records);
        if (fault == Fault::StopMidDump || fault == Fault::UnplugMidDump) {
            const int first = m_wire.ahLines();
            const int recordLines = int(lines.size()) - first - 1;
            const int whole = std::clamp(m_options.faultAfter >= 0 ? m_options.faultAfter
                                                                   : recordLines / 2,
                                         0, recordLines);
            const QByteArray broken = lines.at(first + whole);
            lines = lines.mid(0, first + whole);
            // Half a line: it never reaches a CR.
            lines.append(broken.left(std::max<qsizetype>(1, broken.size() / 2)));
            m_unplugWhenDrained = fault == Fault::UnplugMidDump;
        }
    } else if (command == QLatin1String("V")) {
        if (fault == Fault::UnplugMidDump) {
            const int limit = m_options.faultAfter >= 0 ? m_options.faultAfter
                                                        : kDefaultLiveReadingsBeforeUnplug;
            if (m_liveReadings >= limit) {
                *unplugInstead = true;
                return QByteArray();
            }
        }
        lines = {m_wire.liveReply(m_waveform.next(m_clock.elapsed() / 1000.0))};
        ++m_liveReadings;
    } else {
        return QByteArray();
    }

    QByteArray bytes = lines.join();
    switch (fault) {
    case Fault::LeadingLf:
        bytes.prepend('\n');
        break;
    case Fault::Garbage:
        bytes = LineNoise::garbage(m_random, std::clamp(int(bytes.size()), kMinGarbage, kMaxGarbage));
        break;
    case Fault::WrongBaud:
        bytes = LineNoise::garble(bytes, InstrumentOptions::kWrongBaud,
                                  m_pty.lineBaud() > 0 ? m_pty.lineBaud() : m_options.baud);
        break;
    default:
        break;
    }
    return bytes;
}

void VirtualInstrument::onDrained()
{
    const QString command = m_replying;
    m_replying.clear();
    emit replySent(command);
    if (m_unplugWhenDrained) {
        m_unplugWhenDrained = false;
        // The cable goes a moment after the last byte, so the program has read what was sent
        // (a hang-up discards what the other end has not read yet).
        const int session = m_session;
        QTimer::singleShot(kUnplugDelayMs, this, [this, session] {
            if (session == m_session)
                unplug();
        });
    }
}
