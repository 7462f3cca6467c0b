#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Number patterns and number parsing, the one place where numbers become text and back.
//
// Patterns are made of '0' (a digit that is always written) and '#' (a digit written only when
// significant) with an optional '.': "0.0", "#0.0", "####", "0.000", "000", "0000", "####0.0".
// Formatting first rounds the value to 15 significant digits (7 for single-precision values), then
// rounds halves away from zero to the pattern's decimals: 1012.5 with "####" gives 1013.
// "####" writes nothing for a zero value. The decimal separator is always ".".
class NumberFormat
{
public:
    enum class Precision { Double, Single };

    static QString format(double value, const QString &pattern,
                          Precision precision = Precision::Double);

    // A text that is a number is formatted; any other text comes back unchanged
    // (so "Err" passes "####" and "ATM F" passes "####" as it stands).
    static QString formatText(const QString &text, const QString &pattern,
                              Precision precision = Precision::Double);

    // Accepts blanks around, a sign, digits, one ".", an exponent; nothing else. The result is
    // always finite.
    static std::optional<double> parse(QStringView text);
    // parse() narrowed to single precision; values beyond the float range are refused.
    static std::optional<float> parseSingle(QStringView text);
    // A whole decimal number (sign and digits only) that fits in 32 bits.
    static std::optional<qint32> parseInt32(QStringView text);

    // Conversions that round to a whole number: halves go to the even neighbour (2.5 -> 2,
    // 3.5 -> 4). NaN, infinities and values outside the target range give no result.
    static std::optional<qint32> roundToInt32(double value);
    static std::optional<qint16> roundToInt16(double value);

    // The plain text of a number: the shortest form with up to 15 significant digits
    // (7 for single precision), "." as separator, no exponent for ordinary magnitudes.
    // 10 gives "10", 0.5 gives "0.5", 17662.5 gives "17662.5".
    static QString plain(double value, Precision precision = Precision::Double);
};
