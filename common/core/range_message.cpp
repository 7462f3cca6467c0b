#include "common/core/range_message.h"

#include "common/core/number_format.h"

QString RangeMessage::singleText(const QString &prefix, float minimum, float maximum)
{
    const auto single = NumberFormat::Precision::Single;
    return prefix + QLatin1Char(' ') + NumberFormat::format(minimum, QStringLiteral("#0.0"), single)
         + QStringLiteral("--") + NumberFormat::format(maximum, QStringLiteral("#0.0"), single);
}

QString RangeMessage::longText(const QString &prefix, qint32 minimum, qint32 maximum)
{
    return prefix + QLatin1Char(' ') + QString::number(minimum) + QStringLiteral("--")
         + QString::number(maximum);
}
