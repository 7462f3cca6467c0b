#pragma once

#include <QString>
#include <QStringList>

// Splits a text at a one-character delimiter into fields numbered from 1.
// An empty text gives 0 fields, a text without the delimiter 1 field, and a trailing delimiter
// an empty last field. Out-of-range field numbers read as empty text, so a short record can never
// be read past its end.
class FieldSplit
{
public:
    FieldSplit() = default;
    FieldSplit(const QString &text, QChar delimiter);

    int count() const { return static_cast<int>(m_fields.size()); }
    // Field k, 1-based; empty when k is outside 1..count().
    QString field(int k) const;
    const QStringList &fields() const { return m_fields; }

private:
    QStringList m_fields;
};

// The procedural form used by the decoding code: fills `fields` (index 0 = field 1) and returns
// the number of fields.
qint16 fSplit(const QString &text, QChar delimiter, QStringList *fields);
