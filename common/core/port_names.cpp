#include "common/core/port_names.h"

namespace {
constexpr auto kStandardPortPrefix = "/dev/ttyS";
}

QString PortNames::pathForNumber(qint16 number)
{
    if (number < 1)
        return QString();
    return QLatin1String(kStandardPortPrefix) + QString::number(number - 1);
}

qint16 PortNames::numberForPath(const QString &path)
{
    int start = path.size();
    while (start > 0 && path.at(start - 1).isDigit() && path.at(start - 1).unicode() < 128)
        --start;
    if (start == path.size())
        return 0;
    bool ok = false;
    const int digits = path.mid(start).toInt(&ok);
    if (!ok)
        return 0;
    const bool standard = path.left(start) == QLatin1String(kStandardPortPrefix);
    const qint64 number = standard ? qint64(digits) + 1 : qint64(digits);
    if (number > 32767)
        return 0;
    return qint16(number);
}
