#include "common/core/number_format.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace {

// A non-negative decimal number as a digit string: value = 0.d1d2d3... x 10^point.
struct Decimal
{
    QByteArray digits; // no leading zeros unless the value is zero ("0")
    int point = 0;     // number of digits before the decimal point (may be <= 0)
};

int significantDigits(NumberFormat::Precision p)
{
    return p == NumberFormat::Precision::Single ? 7 : 15;
}

// |value| rounded to `sig` significant digits.
Decimal toDecimal(double value, int sig)
{
    Decimal d;
    const double mag = std::fabs(value);
    if (mag == 0.0) {
        d.digits = "0";
        d.point = 1;
        return d;
    }
    // "d.ddddde+XX"; QByteArray::number never uses the C library's locale.
    const QByteArray text = QByteArray::number(mag, 'e', sig - 1);
    const int e = text.indexOf('e');
    QByteArray mant = text.left(e);
    mant.remove(1, 1); // drop the '.'
    d.digits = mant;
    d.point = text.mid(e + 1).toInt() + 1;
    return d;
}

// Rounds half away from zero so that `decimals` digits follow the point. Returns the integer
// part and the fraction part as digit strings (integer part without leading zeros, may be empty).
void roundDecimal(const Decimal &in, int decimals, QByteArray *intPart, QByteArray *fracPart)
{
    QByteArray digits = in.digits;
    int point = in.point;
    const int keep = point + decimals; // digits to keep counted from the first digit
    if (keep < 0) {
        digits = "0";
        point = 1;
    } else if (keep < digits.size()) {
        const bool up = digits.at(keep) >= '5';
        digits.truncate(keep);
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[i] == '9') {
                digits[i] = '0';
                --i;
            }
            if (i >= 0) {
                digits[i] = char(digits[i] + 1);
            } else {
                digits.prepend('1');
                ++point;
            }
        }
        if (digits.isEmpty()) {
            digits = "0";
            point = 1;
        }
    }
    // Lay the digits out around the point.
    QByteArray whole;
    QByteArray frac;
    if (point > 0) {
        whole = digits.left(point);
        while (whole.size() < point)
            whole.append('0');
        frac = digits.mid(point);
    } else {
        frac = QByteArray(-point, '0') + digits;
    }
    while (frac.size() < decimals)
        frac.append('0');
    frac.truncate(decimals);
    int lead = 0;
    while (lead < whole.size() && whole.at(lead) == '0')
        ++lead;
    *intPart = whole.mid(lead);
    *fracPart = frac;
}

} // namespace

QString NumberFormat::format(double value, const QString &pattern, Precision precision)
{
    if (!std::isfinite(value))
        return QString::number(value);

    const int dot = pattern.indexOf(QLatin1Char('.'));
    const QString intPattern = dot < 0 ? pattern : pattern.left(dot);
    const QString fracPattern = dot < 0 ? QString() : pattern.mid(dot + 1);
    const int minIntDigits = static_cast<int>(intPattern.count(QLatin1Char('0')));
    const int maxDecimals = static_cast<int>(fracPattern.size());
    int minDecimals = 0;
    for (QChar c : fracPattern) {
        if (c == QLatin1Char('0'))
            ++minDecimals;
        else
            break;
    }

    QByteArray whole;
    QByteArray frac;
    roundDecimal(toDecimal(value, significantDigits(precision)), maxDecimals, &whole, &frac);

    // Optional decimals ('#') drop trailing zeros.
    while (frac.size() > minDecimals && frac.endsWith('0'))
        frac.chop(1);
    while (whole.size() < minIntDigits)
        whole.prepend('0');

    const bool zero = whole.count('0') == whole.size() && frac.count('0') == frac.size();
    QString out = QString::fromLatin1(whole);
    if (!frac.isEmpty())
        out += QLatin1Char('.') + QString::fromLatin1(frac);
    if (value < 0 && !zero)
        out.prepend(QLatin1Char('-'));
    return out;
}

QString NumberFormat::formatText(const QString &text, const QString &pattern, Precision precision)
{
    const std::optional<double> v = parse(text);
    if (!v)
        return text;
    return format(*v, pattern, precision);
}

std::optional<double> NumberFormat::parse(QStringView text)
{
    // [blanks] [sign] (digits [. [digits]] | . digits) [(e|E) [sign] digits] [blanks]
    qsizetype i = 0;
    qsizetype n = text.size();
    auto blank = [&](qsizetype k) { return text[k] == QLatin1Char(' ') || text[k] == QLatin1Char('\t'); };
    while (i < n && blank(i))
        ++i;
    while (n > i && blank(n - 1))
        --n;
    if (i == n || n - i > 400)
        return std::nullopt;
    QByteArray latin;
    latin.reserve(n - i);
    auto digit = [&](qsizetype k) { return k < n && text[k] >= QLatin1Char('0') && text[k] <= QLatin1Char('9'); };
    qsizetype k = i;
    if (text[k] == QLatin1Char('+') || text[k] == QLatin1Char('-'))
        ++k;
    qsizetype intDigits = 0;
    while (digit(k)) {
        ++k;
        ++intDigits;
    }
    qsizetype fracDigits = 0;
    if (k < n && text[k] == QLatin1Char('.')) {
        ++k;
        while (digit(k)) {
            ++k;
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0)
        return std::nullopt;
    if (k < n && (text[k] == QLatin1Char('e') || text[k] == QLatin1Char('E'))) {
        ++k;
        if (k < n && (text[k] == QLatin1Char('+') || text[k] == QLatin1Char('-')))
            ++k;
        if (!digit(k))
            return std::nullopt;
        while (digit(k))
            ++k;
    }
    if (k != n)
        return std::nullopt;
    for (qsizetype j = i; j < n; ++j)
        latin.append(char(text[j].unicode()));
    bool ok = false;
    const double v = latin.toDouble(&ok); // locale-independent, unlike strtod
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<float> NumberFormat::parseSingle(QStringView text)
{
    const std::optional<double> v = parse(text);
    if (!v || std::fabs(*v) > double(FLT_MAX))
        return std::nullopt;
    return static_cast<float>(*v);
}

std::optional<qint32> NumberFormat::parseInt32(QStringView text)
{
    const QStringView t = text.trimmed();
    qsizetype k = 0;
    if (k < t.size() && (t[k] == QLatin1Char('+') || t[k] == QLatin1Char('-')))
        ++k;
    if (k == t.size() || t.size() - k > 10)
        return std::nullopt;
    for (qsizetype j = k; j < t.size(); ++j) {
        if (t[j] < QLatin1Char('0') || t[j] > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const qlonglong v = t.toLongLong(&ok);
    if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(v);
}

std::optional<qint32> NumberFormat::roundToInt32(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value);
    if (r < double(std::numeric_limits<qint32>::min()) || r > double(std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return static_cast<qint32>(r);
}

std::optional<qint16> NumberFormat::roundToInt16(double value)
{
    const std::optional<qint32> r = roundToInt32(value);
    if (!r || *r < std::numeric_limits<qint16>::min() || *r > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(*r);
}

QString NumberFormat::plain(double value, Precision precision)
{
    if (!std::isfinite(value))
        return QString::number(value);
    const Decimal d = toDecimal(value, significantDigits(precision));
    if (d.point > 21 || d.point < -6)
        return QString::number(value, 'g', significantDigits(precision));
    QByteArray digits = d.digits;
    while (digits.size() > 1 && digits.endsWith('0') && digits.size() > d.point)
        digits.chop(1);
    QByteArray whole;
    QByteArray frac;
    // Enough decimals to show every remaining digit.
    roundDecimal(Decimal{digits, d.point}, qMax(0, int(digits.size()) - d.point), &whole, &frac);
    while (frac.endsWith('0'))
        frac.chop(1);
    if (whole.isEmpty())
        whole = "0";
    QString out = QString::fromLatin1(whole);
    if (!frac.isEmpty())
        out += QLatin1Char('.') + QString::fromLatin1(frac);
    if (value < 0 && out != QLatin1String("0"))
        out.prepend(QLatin1Char('-'));
    return out;
}
