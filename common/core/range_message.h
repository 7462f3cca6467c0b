#pragma once

#include <QString>

// Texts of the range messages of the parameter dialogs: the prefix (with its own trailing
// blanks), one more blank, minimum, "--", maximum.
class RangeMessage
{
public:
    // Single-precision limits, each written with "#0.0": prefix + " 1.0--9999.0".
    static QString singleText(const QString &prefix, float minimum, float maximum);
    // Whole-number limits in plain decimal: prefix + " 1--65500".
    static QString longText(const QString &prefix, qint32 minimum, qint32 maximum);
};
