#pragma once

#include <QList>
#include <QString>
#include <optional>

// One line of the instrument's memory: a group (where and what was measured, with the
// atmospheric pressure at the time) or a reading of that group.
struct InstrumentRecord
{
    bool group = false;
    QString number;      // group or reading number, "001"
    // Group.
    QString x;
    QString y;
    QString size;        // "mm" or "inch"
    QString type;        // "VEL", "AFLOW" or "PRESS"
    QString pressure;    // atmospheric pressure in tenths of hPa, digits ("10132")
    QString flag;        // "1", "2" valid, "3" sensor error, "0" none
    // Reading.
    QString value;
    QString temperature;

    static InstrumentRecord makeGroup(const QString &number, const QString &x, const QString &y,
                                      const QString &size, const QString &type,
                                      const QString &pressure, const QString &flag);
    static InstrumentRecord makeReading(const QString &number, const QString &value,
                                        const QString &temperature);
};

// The memory the virtual instrument sends on a dump, and its unit settings.
class RecordSet
{
public:
    static constexpr auto kDefaultUnits = "m/s;m3/h;Pa;C";

    // "small", "1000", "10000" or the path of a record file. No value (and *error) when the file
    // cannot be read or has a malformed line.
    static std::optional<RecordSet> load(const QString &spec, QString *error);
    // Four groups of the three types with eight readings, and every pressure flag.
    static RecordSet small();
    // `readings` readings in groups of ten, the same for every call.
    static RecordSet generated(int readings);
    static std::optional<RecordSet> fromFile(const QString &path, QString *error);

    const QList<InstrumentRecord> &records() const { return m_records; }
    // The unit reply without its first character: velocity;flow;pressure;temperature letter.
    const QString &units() const { return m_units; }
    int readingCount() const;

private:
    QList<InstrumentRecord> m_records;
    QString m_units = QLatin1String(kDefaultUnits);
};
