#include "acq/core/graph_params.h"

#include "acq/core/duct_units.h"
#include "common/core/number_format.h"
#include "common/core/status_codes.h"

namespace {

QStringList steps(int first, int last)
{
    QStringList out;
    for (int i = first; i <= last; ++i)
        out << QString::number(i);
    return out;
}

} // namespace

GraphParams::XRangeView GraphParams::smLoadCboXRange(qint32 r)
{
    XRangeView v;
    auto set = [&v](int option, bool match, qint32 value, const char *fallback) {
        v.texts[size_t(option)] = match ? QString::number(value) : QLatin1String(fallback);
        v.enabled[size_t(option)] = match;
        if (match && v.selected < 0)
            v.selected = option;
    };
    set(Seconds, r < 61, r, "10");
    const qint32 m = r / 60;
    set(Minutes, m >= 2 && m <= 60, m, "1");
    const qint32 h = r / 3600;
    set(Hours, h >= 2 && h <= 24, h, "1");
    const qint32 d = r / 86400;
    set(Days, d >= 2, d, "1");
    return v;
}

const QStringList &GraphParams::xRangeList(int option)
{
    static const QStringList sixty = {QStringLiteral("1"),  QStringLiteral("2"),  QStringLiteral("5"),
                                      QStringLiteral("10"), QStringLiteral("20"), QStringLiteral("30"),
                                      QStringLiteral("40"), QStringLiteral("50"), QStringLiteral("60")};
    static const QStringList hours = steps(1, 24);
    static const QStringList days = steps(1, 30);
    switch (option) {
    case Hours:
        return hours;
    case Days:
        return days;
    default:
        return sixty;
    }
}

QStringList GraphParams::yRangeList(qint16 velocityUnit)
{
    if (velocityUnit == 0)
        return xRangeList(Seconds);
    return {QStringLiteral("100"),  QStringLiteral("500"),   QStringLiteral("2000"),
            QStringLiteral("4000"), QStringLiteral("6000"),  QStringLiteral("8000"),
            QStringLiteral("10000"), QStringLiteral("12000")};
}

float GraphParams::yUpperLimit(qint16 velocityUnit)
{
    return velocityUnit == 0 ? 100.0f : 20000.0f;
}

qint32 GraphParams::factor(int option)
{
    static const qint32 factors[] = {1, 60, 3600, 86400};
    return option >= 0 && option < OptionCount ? factors[option] : 0;
}

qint32 GraphParams::maximumCount(int option)
{
    static const qint32 maxima[] = {60, 60, 24, 30};
    return option >= 0 && option < OptionCount ? maxima[option] : 0;
}

std::optional<qint32> GraphParams::xRangeSeconds(int option, const QString &text)
{
    if (option < 0 || option >= OptionCount)
        return std::nullopt;
    const std::optional<qint32> count = NumberFormat::parseInt32(text);
    if (!count || *count < 1 || *count > maximumCount(option))
        return std::nullopt;
    return *count * factor(option);
}

std::optional<double> GraphParams::velYMaxFromText(const QString &text)
{
    const std::optional<double> v = NumberFormat::parse(text);
    if (!v)
        return std::nullopt;
    return NumberFormat::parse(NumberFormat::format(*v, QStringLiteral("#0.0")));
}

bool GraphParams::yEntryValid(const QString &text, qint16 velocityUnit)
{
    float value = 0;
    return fCheckRange(&value, text, 0.0f, yUpperLimit(velocityUnit)) == status::kSuccess;
}
