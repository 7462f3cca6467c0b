#include "common/core/field_split.h"

FieldSplit::FieldSplit(const QString &text, QChar delimiter)
{
    if (!text.isEmpty())
        m_fields = text.split(delimiter, Qt::KeepEmptyParts);
}

QString FieldSplit::field(int k) const
{
    if (k < 1 || k > m_fields.size())
        return QString();
    return m_fields.at(k - 1);
}

qint16 fSplit(const QString &text, QChar delimiter, QStringList *fields)
{
    FieldSplit split(text, delimiter);
    if (fields)
        *fields = split.fields();
    // A line can never hold more than 32767 fields in practice; clamp rather than wrap.
    return static_cast<qint16>(qMin(split.count(), 32767));
}
