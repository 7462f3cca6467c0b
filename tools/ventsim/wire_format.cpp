#include "tools/ventsim/wire_format.h"

#include "common/core/number_format.h"

namespace {
constexpr auto kFirmwareLine = "VER 1.00";
constexpr int kTypeWidth = 5;
}

WireFormat::WireFormat(InstrumentOptions::LineEnd lineEnd, bool atmosphere, int ahLines)
    : m_lineEnd(lineEnd), m_atmosphere(atmosphere), m_ahLines(ahLines)
{
}

QByteArray WireFormat::lineEnd() const
{
    return m_lineEnd == InstrumentOptions::LineEnd::CrLf ? QByteArray("\r\n") : QByteArray("\r");
}

QByteArray WireFormat::line(const QString &text) const
{
    return text.toLatin1() + lineEnd();
}

QList<QByteArray> WireFormat::presenceReply(const QString &serial) const
{
    return {line(QStringLiteral("AP ") + serial), line(QLatin1String(kFirmwareLine))};
}

QList<QByteArray> WireFormat::unitReply(const QString &units) const
{
    QByteArray reply = line(units);
    if (m_lineEnd == InstrumentOptions::LineEnd::Cr)
        reply.prepend(kCrFirstCharacter);
    return {line(QStringLiteral("AU")), reply};
}

QString WireFormat::recordText(const InstrumentRecord &r) const
{
    const QChar sep = QLatin1Char(';');
    if (!r.group)
        return r.number + sep + r.value + sep + r.temperature;
    QString text = r.number + sep + r.x + sep + r.y + sep + r.size + sep;
    if (m_atmosphere)
        return text + r.type + sep + r.pressure + sep + r.flag;
    return text + r.type.rightJustified(kTypeWidth, QLatin1Char(' '));
}

QList<QByteArray> WireFormat::dumpLines(const RecordSet &records) const
{
    QList<QByteArray> lines;
    lines.reserve(m_ahLines + records.records().size() + 1);
    for (int i = 0; i < m_ahLines; ++i)
        lines.append(line(QStringLiteral("AH")));
    const bool cr = m_lineEnd == InstrumentOptions::LineEnd::Cr;
    for (const InstrumentRecord &r : records.records()) {
        QByteArray l = line(recordText(r));
        if (cr)
            l.prepend(kCrFirstCharacter);
        else if (lines.isEmpty())
            l.prepend('\n');
        lines.append(l);
    }
    lines.append(line(QStringLiteral("/")));
    return lines;
}

QByteArray WireFormat::liveReply(const LiveReading &reading) const
{
    const QChar sep = QLatin1Char(';');
    const QString text = QStringLiteral("AV") + sep
        + NumberFormat::format(reading.velocity, QStringLiteral("0.00")) + sep
        + NumberFormat::format(reading.temperature, QStringLiteral("0.0")) + sep
        + QString::number(reading.pressureTenths) + sep + QString::number(reading.flag);
    return line(text);
}
