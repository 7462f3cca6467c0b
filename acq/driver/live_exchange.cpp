#include "acq/driver/live_exchange.h"

#include "common/core/number_format.h"

#include <QList>
#include <cmath>

QByteArray LiveExchange::request()
{
    return QByteArrayLiteral("V\r\n");
}

std::optional<LiveExchange::Reading> LiveExchange::parse(const QByteArray &line)
{
    if (!line.startsWith("AV;"))
        return std::nullopt;
    const QList<QByteArray> fields = line.split(';');
    if (fields.size() < 5)
        return std::nullopt;
    const QString velocityText = QString::fromLatin1(fields.at(1));
    const std::optional<double> velocity = NumberFormat::parse(velocityText);
    if (!velocity || std::fabs(*velocity) > kMaxVelocity)
        return std::nullopt;
    Reading r;
    r.velocity = *velocity;
    r.temperature = NumberFormat::parse(QString::fromLatin1(fields.at(2))).value_or(0.0);
    const std::optional<qint32> pressure =
        NumberFormat::parseInt32(QString::fromLatin1(fields.at(3).trimmed()));
    const std::optional<qint32> flag =
        NumberFormat::parseInt32(QString::fromLatin1(fields.at(4).trimmed()));
    if (pressure && *pressure >= 0 && flag && *flag >= 0 && *flag <= 9) {
        r.pressureTenths = *pressure;
        r.flag = *flag;
        r.pressureKnown = true;
    }
    return r;
}

std::optional<QByteArray> LiveExchange::takeLine(QByteArray *buffer)
{
    qsizetype start = 0;
    while (start < buffer->size() && (buffer->at(start) == '\r' || buffer->at(start) == '\n'))
        ++start;
    qsizetype end = start;
    while (end < buffer->size() && buffer->at(end) != '\r' && buffer->at(end) != '\n')
        ++end;
    if (end == buffer->size()) {
        buffer->remove(0, start); // keep only the unfinished line
        return std::nullopt;
    }
    QByteArray line = buffer->mid(start, end - start);
    buffer->remove(0, end + 1);
    return line;
}

double LiveExchange::exchangeMs(qint32 baud)
{
    if (baud <= 0)
        return 1000.0;
    return std::ceil(kExchangeChars * 10.0 * 1000.0 / double(baud));
}
