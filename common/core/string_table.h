#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <array>
#include <optional>

// The three text variants every string-table entry carries.
enum class UiVariant { English = 0, Japanese = 1, Chinese = 2, Count };

// A program's string table: IDs with an English, a Japanese and a Simplified Chinese text.
// Stored as UTF-8 TSV ("id<TAB>en<TAB>ja<TAB>zh", '#' comments, "\n" and "\\" escapes) and
// compiled into the program as a Qt resource.
//
// IDs below 10000 are the neutral block (English everywhere); ID + 10000 is the localized block.
// Which block is used is the caller's choice (the language offset); which variant is used is the
// user-interface language's.
class StringTable
{
public:
    bool loadFile(const QString &path, QString *error = nullptr);
    bool loadText(const QByteArray &utf8, QString *error = nullptr);

    // The stored variant, exactly as written (escapes decoded).
    std::optional<QString> text(int id, UiVariant variant) const;
    // Lookup with the variant rule: the variant of the user-interface language, English where the
    // entry has none. No value for an ID that is not in the table.
    std::optional<QString> lookup(int id, UiVariant uiVariant) const;

    bool contains(int id) const { return m_rows.contains(id); }
    QList<int> ids() const;
    bool isEmpty() const { return m_rows.isEmpty(); }

private:
    using Row = std::array<QString, static_cast<int>(UiVariant::Count)>;
    QHash<int, Row> m_rows;
};

// A string table together with the active user-interface variant: what windows look texts up in.
class Texts
{
public:
    Texts() = default;
    Texts(const StringTable *table, UiVariant variant) : m_table(table), m_variant(variant) {}

    std::optional<QString> lookup(int id) const
    {
        return m_table ? m_table->lookup(id, m_variant) : std::nullopt;
    }
    // The text, or an empty text when missing (for places that have no failure path).
    QString value(int id) const { return lookup(id).value_or(QString()); }

    UiVariant variant() const { return m_variant; }
    void setVariant(UiVariant v) { m_variant = v; }
    const StringTable *table() const { return m_table; }

private:
    const StringTable *m_table = nullptr;
    UiVariant m_variant = UiVariant::English;
};
