#include "tools/ventsim/record_set.h"

#include "common/core/number_format.h"

#include <QFile>
#include <QTextStream>

namespace {

constexpr int kReadingsPerGroup = 10;
constexpr qint64 kMaxFileSize = 64LL * 1024 * 1024;

QString digits3(int n)
{
    return NumberFormat::format(n, QStringLiteral("000"));
}

} // namespace

InstrumentRecord InstrumentRecord::makeGroup(const QString &number, const QString &x,
                                             const QString &y, const QString &size,
                                             const QString &type, const QString &pressure,
                                             const QString &flag)
{
    InstrumentRecord r;
    r.group = true;
    r.number = number;
    r.x = x;
    r.y = y;
    r.size = size;
    r.type = type;
    r.pressure = pressure;
    r.flag = flag;
    return r;
}

InstrumentRecord InstrumentRecord::makeReading(const QString &number, const QString &value,
                                               const QString &temperature)
{
    InstrumentRecord r;
    r.number = number;
    r.value = value;
    r.temperature = temperature;
    return r;
}

int RecordSet::readingCount() const
{
    int n = 0;
    for (const auto &r : m_records)
        n += r.group ? 0 : 1;
    return n;
}

RecordSet RecordSet::small()
{
    using R = InstrumentRecord;
    RecordSet s;
    s.m_records = {
        R::makeGroup("001", "300", "200", "mm", "VEL", "10132", "1"),
        R::makeReading("001", "3.25", "21.5"),
        R::makeReading("002", "3.40", "21.6"),
        R::makeReading("003", "3.18", "21.6"),
        R::makeGroup("002", "12.0", "8.0", "inch", "AFLOW", "10128", "2"),
        R::makeReading("001", "412.5", "22.0"),
        R::makeReading("002", "398.0", "22.1"),
        R::makeGroup("003", "300", "300", "mm", "PRESS", "10125", "3"),
        R::makeReading("001", "12.6", "22.3"),
        R::makeReading("002", "13.1", "22.4"),
        R::makeGroup("004", "250", "250", "mm", "VEL", "10130", "0"),
        R::makeReading("001", "0.52", "21.9"),
    };
    return s;
}

RecordSet RecordSet::generated(int readings)
{
    static const QString kTypes[] = {QStringLiteral("VEL"), QStringLiteral("AFLOW"),
                                     QStringLiteral("PRESS")};
    RecordSet s;
    const int groups = (readings + kReadingsPerGroup - 1) / kReadingsPerGroup;
    s.m_records.reserve(groups + readings);
    int left = readings;
    for (int g = 1; g <= groups; ++g) {
        const QString &type = kTypes[(g - 1) % 3];
        const QString flag = g % 10 == 0 ? QStringLiteral("3")
                                         : (g % 7 == 0 ? QStringLiteral("2") : QStringLiteral("1"));
        s.m_records.append(InstrumentRecord::makeGroup(
            digits3(g), QString::number(200 + (g * 50) % 400), QString::number(150 + (g * 30) % 300),
            QStringLiteral("mm"), type, QString::number(10100 + (g * 7) % 60), flag));
        const int count = qMin(left, kReadingsPerGroup);
        for (int j = 1; j <= count; ++j) {
            QString value;
            if (type == kTypes[0])
                value = NumberFormat::format(2.0 + ((g * 37 + j * 11) % 600) / 100.0, QStringLiteral("0.00"));
            else if (type == kTypes[1])
                value = NumberFormat::format(100.0 + ((g * 53 + j * 17) % 5000) / 10.0, QStringLiteral("0.0"));
            else
                value = NumberFormat::format(5.0 + ((g * 13 + j * 7) % 300) / 10.0, QStringLiteral("0.0"));
            const QString temperature = NumberFormat::format(20.0 + ((g + j * 3) % 50) / 10.0, QStringLiteral("0.0"));
            s.m_records.append(InstrumentRecord::makeReading(digits3(j), value, temperature));
        }
        left -= count;
    }
    return s;
}

std::optional<RecordSet> RecordSet::fromFile(const QString &path, QString *error)
{
    const auto fail = [&](const QString &message) -> std::optional<RecordSet> {
        if (error)
            *error = message;
        return std::nullopt;
    };
    QFile f(path);
    if (!f.exists())
        return fail(QStringLiteral("%1: no such file").arg(path));
    if (f.size() > kMaxFileSize)
        return fail(QStringLiteral("%1: larger than 64 MB").arg(path));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("%1: %2").arg(path, f.errorString()));
    RecordSet s;
    s.m_records.clear();
    QTextStream in(&f);
    int lineNumber = 0;
    while (!in.atEnd()) {
        const QString raw = in.readLine();
        ++lineNumber;
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const auto bad = [&](const QString &why) {
            return fail(QStringLiteral("%1, line %2: %3").arg(path).arg(lineNumber).arg(why));
        };
        if (line.startsWith(QLatin1String("units "))) {
            const QString units = line.mid(6).trimmed();
            if (units.count(QLatin1Char(';')) < 3)
                return bad(QStringLiteral("units need velocity;flow;pressure;temperature"));
            s.m_units = units;
            continue;
        }
        const QStringList fields = line.split(QLatin1Char(';'));
        if (fields.size() == 3) {
            s.m_records.append(InstrumentRecord::makeReading(fields[0], fields[1], fields[2]));
        } else if (fields.size() == 5 || fields.size() == 7) {
            const QString type = fields[4].trimmed();
            if (type.isEmpty() || type.size() > 5)
                return bad(QStringLiteral("the type must be 1 to 5 characters"));
            const QString pressure = fields.size() == 7 ? fields[5] : QString();
            const QString flag = fields.size() == 7 ? fields[6] : QStringLiteral("0");
            s.m_records.append(
                InstrumentRecord::makeGroup(fields[0], fields[1], fields[2], fields[3], type, pressure, flag));
        } else {
            return bad(QStringLiteral("expected 3 fields (a reading) or 5 or 7 (a group)"));
        }
    }
    return s;
}

std::optional<RecordSet> RecordSet::load(const QString &spec, QString *error)
{
    if (spec == QLatin1String("small"))
        return small();
    if (spec == QLatin1String("1000"))
        return generated(1000);
    if (spec == QLatin1String("10000"))
        return generated(10000);
    return fromFile(spec, error);
}
