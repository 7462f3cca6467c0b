#pragma once

#include <QString>
#include <QtGlobal>

// Serial ports are device paths (/dev/ttyUSB0, /dev/ttyS0, a pseudo-terminal such as /dev/pts/3).
// Where a port is stored or shown as a number, COM n stands for /dev/ttyS(n-1), and any other
// name's trailing digits give its number.
class PortNames
{
public:
    // /dev/ttyS(n-1) for n >= 1; empty for a number below 1.
    static QString pathForNumber(qint16 number);
    // /dev/ttySk gives k + 1; any other name gives its trailing digits (/dev/ttyUSB2 gives 2,
    // /dev/pts/7 gives 7); a name without trailing digits, or whose number does not fit in 16 bits,
    // gives 0.
    static qint16 numberForPath(const QString &path);
};
